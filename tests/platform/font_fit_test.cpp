// With the window's font (the application's default, fitted to the boxes) at 96 dots per inch,
// every text the program writes fits its box on one line: the longest decimal in a decimal
// box, eight of the widest hex digit and each operation's name in a hex box, and 32 of the
// widest binary digit in a binary box. Each text is written through the engine, as the program
// writes it, and measured against the box's real content area.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextLine>
#include <memory>
#include <string>
#include <vector>

#include "printers.h"
#include "qt_native.h"
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

// Run again with Liberation and its metric twin hidden from fontconfig.
#ifdef TSRL_WITHOUT_LIBERATION
const QString kResolvedFamily = "DejaVu Sans";
#else
const QString kResolvedFamily = "Liberation Sans";
#endif

// The character of an alphabet with the largest advance, repeated: the widest text of that
// length. (Liberation Sans has equal-width figures, but A-F are wider than the digits.)
QString Widest(const QFont& font, const QString& alphabet, int count) {
    const QFontMetricsF metrics(font);
    QChar widest = alphabet.front();
    for (const QChar c : alphabet) {
        if (metrics.horizontalAdvance(c) > metrics.horizontalAdvance(widest)) {
            widest = c;
        }
    }
    return QString(count, widest);
}

enum class Content { kDecimal, kHexDigits, kOperationNames, kBinaryDigits };

std::vector<QString> TextsFor(Content content, const QFont& font) {
    switch (content) {
        case Content::kDecimal:
            return {"-2147483648"};  // FormatLong's longest; the figures are all as wide
        case Content::kHexDigits:
            return {Widest(font, "0123456789ABCDEF", 8), "88888888"};
        case Content::kOperationNames:
            return {"Adding", "Subtracting", "Multiplying", "Dividing"};
        case Content::kBinaryDigits:
            return {Widest(font, "01", 32)};
    }
    return {};
}

struct FitCase {
    std::string name;
    std::string box;
    Content content;
};

const FitCase kFitCases[] = {
    {"Text1Dec", "Text1Dec", Content::kDecimal},
    {"Text2Dec", "Text2Dec", Content::kDecimal},
    {"Text3Dec", "Text3Dec", Content::kDecimal},
    {"Text1Hex", "Text1Hex", Content::kHexDigits},
    {"Text2Hex", "Text2Hex", Content::kHexDigits},
    {"Text3Hex", "Text3Hex", Content::kHexDigits},
    {"Text3HexOperationNames", "Text3Hex", Content::kOperationNames},
    {"Text1Bin", "Text1Bin", Content::kBinaryDigits},
    {"Text2Bin", "Text2Bin", Content::kBinaryDigits},
    {"Text3Bin", "Text3Bin", Content::kBinaryDigits},
};

// A multi-line box (QPlainTextEdit) lays its text out in the viewport, less the document
// margin on each side: QPlainTextDocumentLayout breaks a line where the glyph advances exceed
// viewport width - 2 * documentMargin. So the text fits on one line when its advance is at most
// that width, and the widget's own layout must then show one block of one line; the line's
// height plus both margins must fit the viewport's height.
void ExpectOneLine(QPlainTextEdit& edit, const QString& text) {
    QTextDocument& document = *edit.document();
    const qreal margin = document.documentMargin();
    const qreal available = edit.viewport()->width() - 2 * margin;
    const qreal needed = QFontMetricsF(edit.font()).horizontalAdvance(text);
    EXPECT_LE(needed, available) << "viewport " << edit.viewport()->width() << " px, margin "
                                 << margin << " px each side";

    ASSERT_EQ(document.blockCount(), 1);
    const QTextBlock block = document.firstBlock();
    document.documentLayout()->blockBoundingRect(block);  // lays the block out if it is not
    ASSERT_NE(block.layout(), nullptr);
    EXPECT_EQ(block.layout()->lineCount(), 1) << "the box wraps the text";
    if (block.layout()->lineCount() > 0) {
        EXPECT_LE(block.layout()->lineAt(0).height() + 2 * margin, edit.viewport()->height());
    }
}

// A single-line box (QLineEdit) draws its text, per QLineEdit::paintEvent, in
//   lineRect = the style's SE_LineEditContents rect for the frame option QLineEdit builds
//              (less textMargins, none here), less its internal horizontal margin of 2 px on
//              each side,
// and scrolls it unless qRound(naturalTextWidth) + 1 <= lineRect.width(). The option is built
// here as QLineEdit::initStyleOption (protected) builds it. That is checked, and so is what it
// implies: the box does not scroll, so it paints the same pixels with the caret at the end of
// the text as at its start.
void ExpectOneLine(QLineEdit& edit, const QString& text) {
    QStyleOptionFrame panel;
    panel.initFrom(&edit);
    panel.rect = edit.contentsRect();
    panel.lineWidth = edit.hasFrame()
                          ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, &edit)
                          : 0;
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken;
    if (edit.isReadOnly()) {
        panel.state |= QStyle::State_ReadOnly;
    }
    panel.features = QStyleOptionFrame::None;
    constexpr int kHorizontalMargin = 2;  // QLineEditPrivate::horizontalMargin
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &panel, &edit) -
        edit.textMargins();
    const int lineWidth = contents.width() - 2 * kHorizontalMargin;
    const QFontMetricsF metrics(edit.font());
    const int widthUsed = qRound(metrics.horizontalAdvance(text)) + 1;
    EXPECT_LE(widthUsed, lineWidth) << "contents rect " << contents.width() << " px";
    EXPECT_LE(metrics.height(), contents.height());

    edit.setCursorPosition(static_cast<int>(text.size()));
    const QImage atEnd = edit.grab().toImage();
    edit.setCursorPosition(0);
    const QImage atStart = edit.grab().toImage();
    EXPECT_TRUE(atEnd == atStart) << "the box scrolls to show the end of the text";
}

class FontFitTest : public WindowTest {
  protected:
    void ExpectFits(const std::string& box, const std::vector<QString>& texts) {
        QWidget* widget = WidgetOf(Control(box));
        // The box shows the window's font, in the face fontconfig resolves here.
        ASSERT_EQ(widget->font(), forms::WidgetOf(Window())->font());
        ASSERT_EQ(QFontInfo(widget->font()).family(), kResolvedFamily);
        ASSERT_EQ(widget->logicalDpiX(), 96);
        for (const QString& text : texts) {
            SCOPED_TRACE(box + ": \"" + text.toStdString() + "\"");
            Window().TextBoxNamed(box).SetText(text.toStdU16String());
            ASSERT_EQ(Text(box), text.toStdString());
            if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
                ExpectOneLine(*multi, text);
            } else {
                ExpectOneLine(*qobject_cast<QLineEdit*>(widget), text);
            }
        }
    }
};

class FontFit : public FontFitTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(FontFit, EveryTextTheProgramWritesFitsOnOneLine) {
    const FitCase& c = GetParam();
    ExpectFits(c.box, TextsFor(c.content, WidgetOf(Control(c.box))->font()));
}

INSTANTIATE_TEST_SUITE_P(Boxes, FontFit, ::testing::ValuesIn(kFitCases),
                         [](const auto& p) { return p.param.name; });

// The messages the program writes into the binary boxes.
TEST_F(FontFitTest, MessagesInTheBinaryBoxesFitOnOneLine) {
    for (const char* box : {"Text1Bin", "Text2Bin"}) {
        ExpectFits(box, {"Error!  Input not a number or out of range!"});
    }
    ExpectFits("Text3Bin", {"Exceeds capacity of a Long data type!"});
}

// The window's face is only the window's: a box's menu shows in the desktop's.
TEST_F(FontFitTest, ABoxsMenuKeepsTheDesktopsFace) {
    auto* box = qobject_cast<QPlainTextEdit*>(WidgetOf(Control("Text1Dec")));
    ASSERT_NE(box, nullptr);
    const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    menu->ensurePolished();  // its font is settled here, before it shows
    EXPECT_EQ(menu->font().toString(),
              QFontDatabase::systemFont(QFontDatabase::GeneralFont).toString());
    EXPECT_NE(menu->font(), box->font());
}

}  // namespace
}  // namespace tsrl::testing
