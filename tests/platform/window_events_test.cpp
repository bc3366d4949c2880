// The calculator's events as its user sees them: Change inside the write that caused it,
// the Divide button following every keystroke in Text2Dec, Enter that never breaks a line,
// and an operation whose failure the engine's boundary absorbs.
#include <QApplication>
#include <QDrag>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QString>
#include <string>
#include <tuple>
#include <vector>

#include "printers.h"
#include "qt_native.h"
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

class WindowEvents : public WindowTest {
  protected:
    forms::TextBox& Box(const std::string& name) const { return Window().TextBoxNamed(name); }
    void FocusOn(const std::string& control) {
        Window().Find(control)->SetFocus();
        QApplication::processEvents();
    }
};

// ---------------------------------------------------------------------------------------------
// Text3Dec's Change fills Text3Hex and Text3Bin before the write that changed Text3Dec returns.

struct ResultCase {
    std::string name;
    std::u16string decimal;
    std::string hex;
    std::string binary;
};

class ResultRowChange : public WindowEvents, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ResultRowChange, IsFilledInsideTheWriteToText3Dec) {
    Box("Text3Dec").SetText(GetParam().decimal);
    // No event processing in between: the rest of the row was written by Change.
    EXPECT_EQ(Text("Text3Hex"), GetParam().hex);
    EXPECT_EQ(Text("Text3Bin"), GetParam().binary);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ResultRowChange,
    ::testing::Values(
        ResultCase{"Small", u"255", "000000FF", "00000000000000000000000011111111"},
        ResultCase{"MinusOne", u"-1", "FFFFFFFF", "11111111111111111111111111111111"},
        ResultCase{"Min", u"-2147483648", "80000000", "10000000000000000000000000000000"},
        ResultCase{"Max", u"2147483647", "7FFFFFFF", "01111111111111111111111111111111"}),
    [](const auto& p) { return p.param.name; });

TEST_F(WindowEvents, AnEqualWriteToText3DecRaisesNoChange) {
    ASSERT_EQ(Text("Text3Dec"), "0");
    // Spoil the rest of the row; a Change would repair it.
    Box("Text3Hex").SetText(u"spoiled");
    Box("Text3Dec").SetText(u"0");
    EXPECT_EQ(Text("Text3Hex"), "spoiled");
}

// ---------------------------------------------------------------------------------------------
// Text2Dec's Change enables Divide exactly when Text2Dec reads as non-zero, on every keystroke.

struct Keystroke {
    Step step;
    std::string text;  // Text2Dec afterwards
    bool divideEnabled;
};

TEST_F(WindowEvents, DivideFollowsEachKeystrokeInText2Dec) {
    ASSERT_FALSE(Enabled("Divide")) << "Text2Dec holds 0 at start";
    Do(Key(Keys::Tab));  // to Text2Dec, all selected
    ASSERT_EQ(Focus(), "Text2Dec");
    const std::vector<Keystroke> strokes = {
        {Type("5"), "5", true},
        {Key(Keys::Backspace), "", false},
        {Type("0"), "0", false},
        {Type("3"), "03", true},
        {Key(Keys::Backspace), "0", false},
        {Type("x"), "0x", false},
        {Type("1"), "0x1", true},
        {Key(Keys::Home), "0x1", true},
        {Key(Keys::Delete), "x1", false},
        {Key(Keys::A, kCtrl), "x1", false},
        {Type("-"), "-", false},
        {Type("2"), "-2", true},
    };
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        SCOPED_TRACE("keystroke " + std::to_string(i + 1));
        Do(strokes[i].step);
        ASSERT_EQ(Text("Text2Dec"), strokes[i].text);
        EXPECT_EQ(Enabled("Divide"), strokes[i].divideEnabled);
    }
}

TEST_F(WindowEvents, AProgramWriteToText2DecSetsDivideBeforeItReturns) {
    Box("Text2Dec").SetText(u"9");
    EXPECT_TRUE(Enabled("Divide"));
    Box("Text2Dec").SetText(u"0");
    EXPECT_FALSE(Enabled("Divide"));
}

TEST_F(WindowEvents, LeavingText2HexUpdatesDivide) {
    Run({Click("Text2Hex"), Key(Keys::A, kCtrl), Type("10"), Key(Keys::Tab)});
    EXPECT_EQ(Text("Text2Dec"), "16");
    EXPECT_TRUE(Enabled("Divide"));
    Run({Click("Text2Hex"), Key(Keys::A, kCtrl), Type("0"), Key(Keys::Tab)});
    EXPECT_EQ(Text("Text2Dec"), "0");
    EXPECT_FALSE(Enabled("Divide"));
}

// A rejected text too long for its box is shown from its start, not from its last line.
TEST_F(WindowEvents, RejectedLongTextIsShownFromItsStart) {
    Run({Paste(std::string(40, '9') + "x"), Key(Keys::Tab)});
    ASSERT_EQ(Focus(), "Text1Dec");
    const QScrollBar* lines =
        qobject_cast<QPlainTextEdit*>(WidgetOf(Control("Text1Dec")))->verticalScrollBar();
    EXPECT_GT(lines->maximum(), 0) << "the text fits: nothing to scroll";
    EXPECT_EQ(lines->value(), 0);
}

// One pasted from the box's menu is shown at the caret, after it.
TEST_F(WindowEvents, LongTextPastedFromTheMenuIsShownAtTheCaret) {
    Do(GestureOn{driver::Gesture::Paste, "Text1Dec", std::string(60, '9')});
    const QScrollBar* lines =
        qobject_cast<QPlainTextEdit*>(WidgetOf(Control("Text1Dec")))->verticalScrollBar();
    EXPECT_GT(lines->maximum(), 0) << "the text fits: nothing to scroll";
    EXPECT_EQ(lines->value(), lines->maximum());
}

// ---------------------------------------------------------------------------------------------
// Enter never inserts a line break: in a typing box it moves on, in a locked one it does nothing.

struct EnterBox {
    std::string box;
    std::string typed;      // "" for a locked box
    std::string textAfter;  // after the box was left
    std::string focusAfter;
};

struct EnterKey {
    std::string name;
    Keys key;
    Modifiers modifiers;
};

const EnterBox kEnterBoxes[] = {
    {"Text1Dec", "12", "12", "Text2Dec"}, {"Text1Hex", "1f", "0000001F", "Text2Hex"},
    {"Text2Dec", "5", "5", "Command1"},   {"Text2Hex", "a", "0000000A", "Command1"},
    {"Text3Dec", "", "0", "Text3Dec"},    {"Text3Hex", "", "00000000", "Text3Hex"},
};

const EnterKey kEnterKeys[] = {
    {"Return", Keys::Return, kNoModifier},
    {"KeypadEnter", Keys::KeypadEnter, kNoModifier},
    {"ShiftReturn", Keys::Return, kShift},
    {"CtrlReturn", Keys::Return, kCtrl},
};

bool HasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar::LineSeparator) ||
           text.contains(QChar::ParagraphSeparator);
}

class EnterInBox : public WindowEvents,
                   public ::testing::WithParamInterface<std::tuple<EnterBox, EnterKey>> {};

TEST_P(EnterInBox, NeverInsertsALineBreak) {
    const auto& [c, key] = GetParam();
    Do(Click(c.box));
    if (!c.typed.empty()) {
        // Enter in the middle of the text, where a line break would be easiest to see.
        Run({Key(Keys::A, kCtrl), Type(c.typed), Key(Keys::Left)});
    }
    auto* edit = qobject_cast<QPlainTextEdit*>(WidgetOf(Control(c.box)));
    ASSERT_NE(edit, nullptr);
    Do(Key(key.key, key.modifiers));
    EXPECT_EQ(edit->document()->blockCount(), 1);
    EXPECT_FALSE(HasLineBreak(edit->toPlainText()));
    EXPECT_EQ(Text(c.box), c.textAfter);
    EXPECT_EQ(Focus(), c.focusAfter);
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(BoxesAndKeys, EnterInBox,
                         ::testing::Combine(::testing::ValuesIn(kEnterBoxes),
                                            ::testing::ValuesIn(kEnterKeys)),
                         [](const ::testing::TestParamInfo<std::tuple<EnterBox, EnterKey>>& p) {
                             return std::get<0>(p.param).box + "_" + std::get<1>(p.param).name;
                         });

// ---------------------------------------------------------------------------------------------
// Each operation's result reaches the result row: 7 and 3 typed, then the button clicked.

struct OperationCase {
    std::string button;
    std::string decimal;
    std::string hex;
};

class OperationResult : public WindowEvents, public ::testing::WithParamInterface<OperationCase> {};

TEST_P(OperationResult, IsShownInTheResultRow) {
    Run({Click("Text1Dec"), Key(Keys::A, kCtrl), Type("7"), Key(Keys::Tab), Type("3"),
         Click(GetParam().button)});
    EXPECT_EQ(Text("Text3Dec"), GetParam().decimal);
    EXPECT_EQ(Text("Text3Hex"), GetParam().hex);
    EXPECT_EQ(Focus(), GetParam().button);
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(SevenAndThree, OperationResult,
                         ::testing::Values(OperationCase{"Command1", "3", "00000003"},
                                           OperationCase{"Command2", "7", "00000007"},
                                           OperationCase{"Command3", "4", "00000004"},
                                           OperationCase{"Not", "-8", "FFFFFFF8"},
                                           OperationCase{"Plus", "10", "0000000A"},
                                           OperationCase{"Minus", "4", "00000004"},
                                           OperationCase{"Multiply", "21", "00000015"},
                                           OperationCase{"Divide", "2", "00000002"}),
                         [](const auto& p) { return p.param.button; });

// ---------------------------------------------------------------------------------------------
// A bitwise operation on an operand that does not convert throws out of its Click; the engine's
// boundary absorbs it, the window goes on and the next Click computes.

struct BitwiseCase {
    std::string button;
    std::string result;  // of 12 and 10
};

class FailingOperation : public WindowEvents, public ::testing::WithParamInterface<BitwiseCase> {};

TEST_P(FailingOperation, DoesNotEndTheProgramAndTheNextClickRuns) {
    FocusOn(GetParam().button);
    ASSERT_EQ(Focus(), GetParam().button);
    Box("Text1Dec").SetText(u"abc");
    Box("Text2Dec").SetText(u"10");
    Do(Key(Keys::Space));
    EXPECT_EQ(Text("Text3Dec"), "0") << "nothing written";
    EXPECT_EQ(Focus(), GetParam().button);

    Box("Text1Dec").SetText(u"12");
    Do(Key(Keys::Space));
    EXPECT_EQ(Text("Text3Dec"), GetParam().result);
    Do(Click("Divide"));
    EXPECT_EQ(Text("Text3Dec"), "1");
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(Operations, FailingOperation,
                         ::testing::Values(BitwiseCase{"Command1", "8"},
                                           BitwiseCase{"Command2", "14"},
                                           BitwiseCase{"Command3", "6"}, BitwiseCase{"Not", "-13"}),
                         [](const auto& p) { return p.param.button; });

// ---------------------------------------------------------------------------------------------
// Selected text pressed on and dragged up out of a display box is selected from the press, never
// dragged out: the drag froze the window.

TEST_F(WindowEvents, DraggingOutOfADisplayBoxSelectsAndStartsNoDrag) {
    Box("Text3Dec").SetText(u"-2147483648");
    Run({Click("Text3Dec"), Key(Keys::A, kCtrl)});
    auto* edit = qobject_cast<QPlainTextEdit*>(WidgetOf(Control("Text3Dec")));
    QTextCursor inside = edit->textCursor();
    inside.setPosition(4);
    const QPointF on = edit->cursorRect(inside).center();
    const QPointF above = on - QPointF(0, edit->height());
    for (const auto& [type, at, held] :
         {std::tuple(QEvent::MouseButtonPress, on, Qt::LeftButton),
          std::tuple(QEvent::MouseMove, above, Qt::LeftButton),
          std::tuple(QEvent::MouseButtonRelease, above, Qt::NoButton)}) {
        QMouseEvent event(type, at, edit->viewport()->mapToGlobal(at), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(edit->viewport(), &event);
    }
    EXPECT_TRUE(edit->findChildren<QDrag*>().isEmpty());
    EXPECT_EQ(edit->textCursor().anchor(), 4);
    EXPECT_EQ(Text("Text3Dec"), "-2147483648");
}

// ---------------------------------------------------------------------------------------------
// What assistive technology may write, or another program drop: only into the typing box that
// holds the focus, where a drop over the whole selected text replaces it as a paste would. The
// drops other boxes refuse are in locked_boxes_test.

struct AssistiveWrite {
    std::string label;
    std::vector<Step> before;
    std::string box;
    bool takes;
    bool dropped = false;
    bool beside = false;  // inserted at the drop's point, not in place of the text
};

class AssistiveWriteInto : public WindowEvents,
                           public ::testing::WithParamInterface<AssistiveWrite> {};

TEST_P(AssistiveWriteInto, OnlyTheFocusedTypingBoxTakesIt) {
    Run(GetParam().before);
    const std::string before = Text(GetParam().box);
    driver::Perform(GetParam().dropped ? driver::Gesture::Drop : driver::Gesture::SetText,
                    Control(GetParam().box), "12abc\n");
    driver::ProcessEvents();
    std::string shown = Text(GetParam().box);
    const std::size_t at = shown.find("12abc");
    EXPECT_EQ(at != std::string::npos, GetParam().takes);
    if (GetParam().beside && at != std::string::npos) {
        shown.erase(at, 5);
    }
    EXPECT_EQ(shown, GetParam().takes && !GetParam().beside ? "12abc" : before);
    EXPECT_EQ(Text("Text3Hex"), "00000000");
}

const AssistiveWrite kAssistiveWrites[] = {
    {"DisplayBox", {}, "Text3Dec", false},
    {"FocusedDisplayBox", {Click("Text3Dec")}, "Text3Dec", false},
    {"TypingBoxWithoutTheFocus", {}, "Text1Hex", false},
    {"FocusedTypingBox", {}, "Text1Dec", true},
    {"DropOverTheWholeTextOfTheFocusedBox", {}, "Text1Dec", true, true},
    // The text it makes wraps onto a line not yet laid out while the drop is inserted.
    {"DropThatWrapsTheFocusedBox",
     {Key(Keys::Tab), Paste("1234567890123"), Key(Keys::Home)},
     "Text2Dec",
     true,
     true,
     true},
};
INSTANTIATE_TEST_SUITE_P(Boxes, AssistiveWriteInto, ::testing::ValuesIn(kAssistiveWrites));

}  // namespace
}  // namespace tsrl::testing
