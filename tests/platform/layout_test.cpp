// The calculator window as its layout table describes it: every control where the table puts
// it (twips / 15 = logical pixels), the client size, the title, the object and accessible
// names. Built twice: at the offscreen default device pixel ratio of 1, and with
// QT_SCALE_FACTOR=2, where the logical geometry must stay the same.
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "form1.h"
#include "printers.h"
#include "qt_native.h"
#include "window_fixture.h"

#ifndef TSRL_EXPECTED_DEVICE_PIXEL_RATIO
#error "define TSRL_EXPECTED_DEVICE_PIXEL_RATIO: the device pixel ratio the program runs at"
#endif

namespace tsrl::testing {
namespace {

constexpr qreal kExpectedRatio = TSRL_EXPECTED_DEVICE_PIXEL_RATIO;
constexpr int kTwipsPerPixel = 15;

using Layout = WindowTest;

TEST_F(Layout, RunsAtTheExpectedDevicePixelRatio) {
    QWidget* window = forms::WidgetOf(Window());
    EXPECT_EQ(window->devicePixelRatioF(), kExpectedRatio);
    const QPixmap picture = window->grab();
    EXPECT_EQ(picture.devicePixelRatio(), kExpectedRatio);
    EXPECT_EQ(picture.size(), QSize(401, 228) * kExpectedRatio) << "device pixels";
}

TEST_F(Layout, ClientAreaIs401By228) {
    QWidget* window = forms::WidgetOf(Window());
    EXPECT_EQ(window->size(), QSize(401, 228));
    EXPECT_EQ(window->rect(), QRect(0, 0, 401, 228));
    EXPECT_EQ(window->minimumSize(), QSize(401, 228)) << "fixed size";
    EXPECT_EQ(window->maximumSize(), QSize(401, 228)) << "fixed size";
}

TEST_F(Layout, TitleAndWindowName) {
    EXPECT_EQ(forms::WidgetOf(Window())->windowTitle(), "TSRL  Ver 1.01");
    EXPECT_EQ(forms::WidgetOf(Window())->objectName(), "Form1");
}

TEST_F(Layout, TheWindowHoldsExactlyTheTablesControls) {
    std::set<std::string> fromTable;
    for (const forms::ControlLayout& c : kForm1Layout.controls) {
        fromTable.emplace(c.name);
    }
    std::set<std::string> children;
    for (const QWidget* child :
         forms::WidgetOf(Window())->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        children.insert(child->objectName().toStdString());
    }
    EXPECT_EQ(fromTable.size(), 21U);
    EXPECT_EQ(children, fromTable);
}

// ---------------------------------------------------------------------------------------------

class Placement : public WindowTest, public ::testing::WithParamInterface<forms::ControlLayout> {};

TEST_P(Placement, ControlSitsWhereTheTablePutsIt) {
    const forms::ControlLayout& c = GetParam();
    // Every place in the table is a whole number of pixels, so nothing depends on rounding.
    for (const int twips : {c.left, c.top, c.width, c.height}) {
        ASSERT_EQ(twips % kTwipsPerPixel, 0) << twips << " twips";
    }
    QWidget* widget = WidgetOf(Control(std::string(c.name)));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), forms::WidgetOf(Window()));
    EXPECT_EQ(widget->geometry(), QRect(c.left / kTwipsPerPixel, c.top / kTwipsPerPixel,
                                        c.width / kTwipsPerPixel, c.height / kTwipsPerPixel));
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->devicePixelRatioF(), kExpectedRatio);
}

INSTANTIATE_TEST_SUITE_P(AllControls, Placement,
                         ::testing::ValuesIn(kForm1Layout.controls.begin(),
                                             kForm1Layout.controls.end()),
                         [](const ::testing::TestParamInfo<forms::ControlLayout>& p) {
                             return std::string(p.param.name);
                         });

// ---------------------------------------------------------------------------------------------
// What the user sees of the boxes, in a picture of the window with the focus on a button: the
// same frame corner on all nine, and the "0" of every box of a row starting on one pixel row.

constexpr int kInside = 3 * static_cast<int>(kExpectedRatio);  // past the frame

// The first row, from the box's top, with a pixel far from the box's background: its text.
int TextTop(const QImage& picture, const QRect& box) {
    const QRgb background = picture.pixel(box.left() + kInside, box.bottom() - kInside);
    for (int y = kInside; y < box.height() - kInside; ++y) {
        for (int x = box.left() + kInside; x <= box.right() - kInside; ++x) {
            if (std::abs(qGray(picture.pixel(x, box.top() + y)) - qGray(background)) > 64) {
                return y;
            }
        }
    }
    return -1;
}

TEST_F(Layout, EveryBoxHasTheSameFrameAndEachRowOneBaseline) {
    Do(Click("Command1"));  // 0 And 0: every box holds 0, none has the focus
    const QImage picture = forms::WidgetOf(Window())->grab().toImage();
    const auto rect = [this](const std::string& box) {
        const QRect r = WidgetOf(Control(box))->geometry();
        return QRect(r.topLeft() * kExpectedRatio, r.size() * kExpectedRatio);  // device pixels
    };
    for (const char* row : {"1", "2", "3"}) {
        const std::string dec = std::string("Text") + row + "Dec";
        const int top = TextTop(picture, rect(dec));
        EXPECT_GT(top, 0) << dec;
        for (const char* column : {"Dec", "Hex", "Bin"}) {
            const std::string box = std::string("Text") + row + column;
            EXPECT_EQ(TextTop(picture, rect(box)), top) << box;
            // The outermost pixels of the top-left corner, where square and round differ.
            for (const QPoint at : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(2, 0)}) {
                EXPECT_EQ(picture.pixel(rect(box).topLeft() + at),
                          picture.pixel(rect("Text1Dec").topLeft() + at))
                    << box;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------

struct NameCase {
    std::string control;
    QString accessibleName;
};

class Names : public WindowTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(Names, ObjectNameIsTheControlNameAndTheAccessibleNameIsAsSpoken) {
    QWidget* widget = WidgetOf(Control(GetParam().control));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->objectName().toStdString(), GetParam().control);
    EXPECT_EQ(
        forms::WidgetOf(Window())->findChild<QWidget*>(QString::fromStdString(GetParam().control)),
        widget);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), GetParam().accessibleName);
}

INSTANTIATE_TEST_SUITE_P(
    AllControls, Names,
    ::testing::Values(
        NameCase{"Text1Dec", "Operand 1 decimal"}, NameCase{"Text1Hex", "Operand 1 hex"},
        NameCase{"Text1Bin", "Operand 1 binary"}, NameCase{"Text2Dec", "Operand 2 decimal"},
        NameCase{"Text2Hex", "Operand 2 hex"}, NameCase{"Text2Bin", "Operand 2 binary"},
        NameCase{"Text3Dec", "Result decimal"}, NameCase{"Text3Hex", "Result hex"},
        NameCase{"Text3Bin", "Result binary"}, NameCase{"Command1", "And"},
        NameCase{"Command2", "Or"}, NameCase{"Command3", "Xor"}, NameCase{"Not", "Not"},
        NameCase{"Plus", "Plus"}, NameCase{"Minus", "Minus"}, NameCase{"Multiply", "Multiply"},
        NameCase{"Divide", "Divide"}, NameCase{"Label4", "Tessoral"}, NameCase{"Label1", "Decimal"},
        NameCase{"Label2", "Hex"}, NameCase{"Label3", "Binary"}),
    [](const auto& p) { return p.param.control; });

}  // namespace
}  // namespace tsrl::testing
