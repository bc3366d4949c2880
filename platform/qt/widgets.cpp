#include "widgets.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QTextDocument>

#include "box_edit.h"
#include "qt_text.h"

namespace tsrl::forms {
namespace {

constexpr qreal kDocumentMargin = 2.0;  // keeps the widest texts on one line in the narrow boxes
constexpr int kLineEditMargin = 2;      // inside its contents rectangle, on each side

Qt::Alignment ToQt(Align align) {
    constexpr Qt::AlignmentFlag kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    return kAlign[static_cast<int>(align)];
}

QColor ToQColor(const Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

void ApplyColours(QWidget& widget, const ControlLayout& c) {
    QPalette palette = widget.palette();
    if (c.background) {
        palette.setColor(QPalette::Base, ToQColor(*c.background));
    }
    if (c.foreground) {
        palette.setColor(QPalette::Text, ToQColor(*c.foreground));
    }
    // As native edit boxes do, only the box with the focus shows its selection.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Text));
    widget.setPalette(palette);
}

QWidget* MakeTextBox(const ControlLayout& c, QWidget* parent) {
    if (!c.multiLine) {
        auto* edit = new QLineEdit(ToQString(c.text), parent);
        edit->setAlignment(ToQt(c.align) | Qt::AlignVCenter);
        edit->setReadOnly(c.locked);
        return edit;
    }
    auto* edit = new BoxEdit(parent);
    edit->setTabChangesFocus(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setContextMenuPolicy(Qt::DefaultContextMenu);
    QTextDocument* document = edit->document();
    document->setDocumentMargin(kDocumentMargin);
    QTextOption option = document->defaultTextOption();
    option.setAlignment(ToQt(c.align));
    // Anywhere, not at word boundaries: the box is narrower than a word, and a search for
    // boundaries makes a long pasted line cost quadratic time.
    option.setWrapMode(QTextOption::WrapAnywhere);
    document->setDefaultTextOption(option);
    edit->setPlainText(ToQString(c.text));
    edit->setReadOnly(c.locked);
    if (c.locked) {
        edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    return edit;
}

QWidget* MakeOfKind(const ControlLayout& c, QWidget* parent) {
    switch (c.kind) {
        case ControlKind::TextBox: {
            QWidget* box = MakeTextBox(c, parent);
            box->setFocusPolicy(Qt::StrongFocus);
            ApplyColours(*box, c);
            return box;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(ToQString(c.text), parent);
            button->setAutoDefault(false);
            button->setFocusPolicy(Qt::StrongFocus);
            return button;
        }
        case ControlKind::Label:
            break;
    }
    auto* label = new QLabel(ToQString(c.text), parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

const QPlainTextEdit* AsMultiLine(const QWidget* widget) {
    return qobject_cast<const QPlainTextEdit*>(widget);
}
const QLineEdit* AsSingleLine(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget);
}

}  // namespace

QWidget* MakeWidget(const ControlLayout& c, QWidget* parent) {
    QWidget* widget = MakeOfKind(c, parent);
    widget->setObjectName(ToQString(c.name));
    return widget;
}

namespace {

// A face this machine lacks is asked for by its installed stand-in: asked for by its own name, Qt
// first sorts every installed face to find fallbacks for it, half a ms of start-up per name.
QString InstalledFamily(const QString& family) {
    static const QStringList installed = QFontDatabase::families();
    if (installed.contains(family, Qt::CaseInsensitive)) {
        return family;
    }
    const QString standIn = QFont::substitute(family);
    return installed.contains(standIn, Qt::CaseInsensitive) ? standIn : family;
}

}  // namespace

QFont ToQFont(const Font& font) {
    QFont made(InstalledFamily(ToQString(font.family)));
    made.setPointSizeF(font.points);
    made.setBold(font.bold);
    return made;
}

// Qt makes each box's text document in the application's font and lays it out at once, before
// the box's own font reaches it: left at the desktop's, that face was loaded only to be replaced,
// a few ms of start-up. Menus keep the desktop's face, and the desktop's fonts for other kinds of
// widget stay as they are (QApplication::setFont would drop them).
void UseWindowFace(QWidget& window, const Font& font) {
    QApplication::setFont(QApplication::font("QMenu"), "QMenu");
    const QFont face = ToQFont(font);
    QGuiApplication::setFont(face);
    window.setFont(face);
}

QString TextOf(const QWidget* box) {
    if (const auto* edit = AsMultiLine(box)) {
        return edit->toPlainText();
    }
    if (const auto* line = AsSingleLine(box)) {
        return line->text();
    }
    return {};
}

// Without copying the text.
int LengthOf(const QWidget* box) {
    if (const auto* edit = AsMultiLine(box)) {
        return edit->document()->characterCount() - 1;  // less the final paragraph separator
    }
    return static_cast<int>(AsSingleLine(box)->text().size());
}

std::pair<int, int> SelectionOf(const QWidget* box) {
    if (const auto* edit = AsMultiLine(box)) {
        const QTextCursor cursor = edit->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
    const QLineEdit* line = AsSingleLine(box);
    if (!line->hasSelectedText()) {
        return {line->cursorPosition(), line->cursorPosition()};
    }
    return {line->selectionStart(), line->selectionEnd()};
}

void SelectIn(QWidget* box, int start, int end) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor cursor = edit->textCursor();
        if (cursor.anchor() == start && cursor.position() == end) {
            return;  // moving a cursor in a long text costs a layout pass
        }
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        if (start == 0) {
            // A whole text selected is shown from its start, not scrolled to its end.
            edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->minimum());
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(box); line != nullptr && start == end) {
        line->setCursorPosition(start);
    } else if (line != nullptr) {
        line->setSelection(start, end - start);
    }
}

void ClearSelection(QWidget* box) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor cursor = edit->textCursor();
        if (cursor.hasSelection()) {
            cursor.clearSelection();
            edit->setTextCursor(cursor);
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->deselect();
    }
}

void ReplaceSelectionOf(QWidget* box, const QString& text, bool insideADrop) {
    // Inside a drop's edit block the text is not laid out yet, and setting the cursor or
    // scrolling to it reads a line that is not there: the text goes in through the box's own
    // cursor, and the drop shows the caret once it is done.
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        edit->insertPlainText(text);
        if (!insideADrop) {
            edit->ensureCursorVisible();
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->insert(text);
    }
}

void ForgetUndoOf(QWidget* box) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        edit->document()->clearUndoRedoStacks();
    } else if (auto* line = qobject_cast<QLineEdit*>(box);
               line != nullptr && (line->isUndoAvailable() || line->isRedoAvailable())) {
        // Its history goes only with a text set anew.
        const QSignalBlocker quiet(line);
        const auto [start, end] = SelectionOf(line);
        line->setText(line->text());
        SelectIn(line, start, end);
    }
}

void ReplaceTextOf(QWidget* box, const QString& text) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        edit->setPlainText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(text);
    }
}

// The width a multi-line box lays a line out in, or the width a single-line box shows without
// scrolling.
double LineWidthOf(const QWidget* box) {
    if (AsMultiLine(box) != nullptr) {
        return box->contentsRect().width() - 2 * kDocumentMargin;
    }
    QStyleOptionFrame panel;
    panel.initFrom(box);
    panel.rect = box->contentsRect();
    panel.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, box);
    panel.state |= QStyle::State_Sunken;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &panel, box);
    return contents.width() - 2 * kLineEditMargin;
}

}  // namespace tsrl::forms
