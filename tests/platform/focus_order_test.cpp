// The calculator's focus: Tab and Shift+Tab order from every control, labels that never take
// the focus, LostFocus before a button's Click, and a rejected text that keeps the focus.
#include <QApplication>
#include <string>
#include <tuple>
#include <vector>

#include "printers.h"
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

// The tab order with the start-up values, where Divide is disabled (Text2Dec holds "0").
const std::vector<std::string> kTabOrder = {
    "Text1Dec", "Text2Dec", "Text1Hex", "Text2Hex", "Command1", "Command2", "Command3", "Not",
    "Plus",     "Minus",    "Multiply", "Text3Bin", "Text3Hex", "Text3Dec", "Text2Bin", "Text1Bin",
};

// What a keyboard sends for Shift+Tab.
const Step kShiftTab = Key(Keys::Tab, kShift);

class FocusTest : public WindowTest {
  protected:
    // Moves the focus the way a procedure does; LostFocus and GotFocus run as usual.
    void FocusOn(const std::string& control) {
        Window().Find(control)->SetFocus();
        QApplication::processEvents();
    }
    std::string EngineFocus() const {
        const forms::Control* focused = Window().FocusedControl();
        return focused != nullptr ? std::string(focused->Name()) : std::string();
    }
};

struct TabCase {
    std::string from;
    std::string next;
    std::string previous;
};

std::vector<TabCase> TabCases() {
    std::vector<TabCase> cases;
    const std::size_t n = kTabOrder.size();
    for (std::size_t i = 0; i < n; ++i) {
        cases.push_back({kTabOrder[i], kTabOrder[(i + 1) % n], kTabOrder[(i + n - 1) % n]});
    }
    return cases;
}

class TabOrder : public FocusTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabOrder, TabMovesToTheNextControl) {
    FocusOn(GetParam().from);
    ASSERT_EQ(Focus(), GetParam().from);
    Do(Key(Keys::Tab));
    EXPECT_EQ(Focus(), GetParam().next);
    EXPECT_EQ(EngineFocus(), GetParam().next) << "its GotFocus has run";
}

TEST_P(TabOrder, ShiftTabMovesToThePreviousControl) {
    FocusOn(GetParam().from);
    ASSERT_EQ(Focus(), GetParam().from);
    Do(kShiftTab);
    EXPECT_EQ(Focus(), GetParam().previous);
    EXPECT_EQ(EngineFocus(), GetParam().previous) << "its GotFocus has run";
}

INSTANTIATE_TEST_SUITE_P(FromEachControl, TabOrder, ::testing::ValuesIn(TabCases()),
                         [](const ::testing::TestParamInfo<TabCase>& p) { return p.param.from; });

TEST_F(FocusTest, StartsInText1DecAndTabGoesRoundTheWholeWindow) {
    ASSERT_EQ(Focus(), "Text1Dec");
    std::vector<std::string> visited = {Focus()};
    for (std::size_t i = 0; i < kTabOrder.size(); ++i) {
        Do(Key(Keys::Tab));
        visited.push_back(Focus());
    }
    std::vector<std::string> expected = kTabOrder;
    expected.push_back("Text1Dec");
    EXPECT_EQ(visited, expected);
}

TEST_F(FocusTest, ShiftTabGoesRoundTheWholeWindowBackwards) {
    ASSERT_EQ(Focus(), "Text1Dec");
    std::vector<std::string> visited = {Focus()};
    for (std::size_t i = 0; i < kTabOrder.size(); ++i) {
        Do(kShiftTab);
        visited.push_back(Focus());
    }
    std::vector<std::string> expected = {"Text1Dec"};
    expected.insert(expected.end(), kTabOrder.rbegin(), kTabOrder.rend());
    ASSERT_EQ(visited.size(), expected.size());
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(visited[1], "Text1Bin") << "Shift+Tab from the first control goes to the last";
}

TEST_F(FocusTest, AnEnabledDivideTakesItsPlaceBetweenMultiplyAndText3Bin) {
    Run({Key(Keys::Tab), Type("4"), Key(Keys::Tab)});  // Text2Dec := 4
    ASSERT_TRUE(Enabled("Divide"));
    FocusOn("Multiply");
    Do(Key(Keys::Tab));
    EXPECT_EQ(Focus(), "Divide");
    Do(Key(Keys::Tab));
    EXPECT_EQ(Focus(), "Text3Bin");
    Do(kShiftTab);
    EXPECT_EQ(Focus(), "Divide");
    Do(kShiftTab);
    EXPECT_EQ(Focus(), "Multiply");
}

// ---------------------------------------------------------------------------------------------
// Labels

class LabelClick : public FocusTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(LabelClick, RunsNothingAndKeepsTheFocusWhereItWas) {
    // Typed but not yet left: a LostFocus would rewrite the row, a focus move would show.
    Run({Click("Text1Hex"), Key(Keys::A, kCtrl), Type("ff")});
    ASSERT_EQ(Focus(), "Text1Hex");
    Do(Click(GetParam()));
    EXPECT_EQ(Focus(), "Text1Hex");
    EXPECT_EQ(EngineFocus(), "Text1Hex");
    EXPECT_EQ(Text("Text1Hex"), "ff");
    EXPECT_EQ(Text("Text1Dec"), "0") << "Text1Hex's LostFocus must not have run";
    EXPECT_EQ(Text("Text3Dec"), "0");
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(EachLabel, LabelClick,
                         ::testing::Values("Label1", "Label2", "Label3", "Label4"),
                         [](const auto& p) { return p.param; });

// ---------------------------------------------------------------------------------------------
// A click on a button after typing in a box computes with what that box's LostFocus wrote:
// the hex boxes' values reach the decimal boxes, which the operations read, only then.

struct ClickAfterTypingCase {
    std::string name;
    std::string box;
    std::string typed;
    std::string button;
    std::string result;
};

class ClickAfterTyping : public FocusTest,
                         public ::testing::WithParamInterface<ClickAfterTypingCase> {};

TEST_P(ClickAfterTyping, UsesTheValueWrittenByTheBoxsLostFocus) {
    const ClickAfterTypingCase& c = GetParam();
    Run({Click(c.box), Key(Keys::A, kCtrl), Type(c.typed), Click(c.button)});
    EXPECT_EQ(Text("Text3Dec"), c.result);
    EXPECT_EQ(Focus(), c.button);
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClickAfterTyping,
    ::testing::Values(ClickAfterTypingCase{"Text1HexThenPlus", "Text1Hex", "ff", "Plus", "255"},
                      ClickAfterTypingCase{"Text2HexThenMinus", "Text2Hex", "7", "Minus", "-7"},
                      ClickAfterTypingCase{"Text1HexThenOr", "Text1Hex", "ff", "Command2", "255"},
                      ClickAfterTypingCase{"Text2HexThenXor", "Text2Hex", "3", "Command3", "3"},
                      ClickAfterTypingCase{"Text1HexThenNot", "Text1Hex", "FFFFFFF0", "Not", "15"}),
    [](const auto& p) { return p.param.name; });

// ---------------------------------------------------------------------------------------------
// A rejected text, then a click on a button: the box's LostFocus sends the focus back, so the
// button does not click; the result row stays as it was and there is exactly one beep (the
// rejection's; a click on an arithmetic button that did run with a bad operand would beep too).

struct RejectCase {
    std::string box;
    std::string text;
};

const RejectCase kRejects[] = {
    {"Text1Dec", "abc"},
    {"Text1Hex", "xyz"},
    {"Text2Dec", "2147483648"},  // not zero, so Divide stays enabled while it is typed
    {"Text2Hex", "100000000"},
};

const std::vector<std::string> kButtons = {"Command1", "Command2", "Command3", "Not",
                                           "Plus",     "Minus",    "Multiply", "Divide"};

class RejectedText : public FocusTest,
                     public ::testing::WithParamInterface<std::tuple<RejectCase, std::string>> {};

TEST_P(RejectedText, ThenAClickOnAButtonDoesNotRunAndTheFocusIsBack) {
    const auto& [reject, button] = GetParam();
    // 8 Or 2 = 10 in the result row; Divide is enabled.
    Run({Click("Text1Dec"), Key(Keys::A, kCtrl), Type("8"), Key(Keys::Tab), Type("2"),
         Click("Command2")});
    ASSERT_EQ(Text("Text3Dec"), "10");
    ASSERT_EQ(Beeps(), 0);

    Run({Click(reject.box), Key(Keys::A, kCtrl), Type(reject.text)});
    ASSERT_TRUE(Enabled(button));
    Do(Click(button));

    EXPECT_EQ(Text("Text3Dec"), "10");
    EXPECT_EQ(Text("Text3Hex"), "0000000A");
    EXPECT_EQ(Text("Text3Bin"), "00000000000000000000000000001010");
    EXPECT_EQ(Focus(), reject.box);
    EXPECT_EQ(EngineFocus(), reject.box);
    EXPECT_EQ(Text(reject.box), reject.text) << "the rejected text stays for correcting";
    EXPECT_EQ(Beeps(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    BoxesAndButtons, RejectedText,
    ::testing::Combine(::testing::ValuesIn(kRejects), ::testing::ValuesIn(kButtons)),
    [](const ::testing::TestParamInfo<std::tuple<RejectCase, std::string>>& p) {
        return std::get<RejectCase>(p.param).box + "_" + std::get<std::string>(p.param);
    });

}  // namespace
}  // namespace tsrl::testing
