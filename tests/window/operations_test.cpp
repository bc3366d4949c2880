// The eight operations, driven as a user does: operands typed into Text1Dec and Text2Dec, then
// a mouse click on the button, or Space or Enter on it after Enter and Tab took the focus there.
#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <string>

#include "window_fixture.h"

namespace tsrl::testing {
namespace {

const std::string kOverflow = "Exceeds capacity of a Long data type!";
const std::array<std::string, 8> kButtons{"Command1", "Command2", "Command3", "Not",
                                          "Plus",     "Minus",    "Multiply", "Divide"};

enum class Press { Mouse, Space, Enter };

// What a row shows for a value, worked out here rather than by the window's conversions.
Row Shown(Long value) {
    const auto pattern = static_cast<std::uint32_t>(value);
    std::array<char, 9> hex{};
    std::snprintf(hex.data(), hex.size(), "%08X", pattern);
    return {std::to_string(value), hex.data(), Bits(pattern)};
}
Row Report(const char* operation) {
    return {"00", operation, kOverflow};
}

std::vector<Step> Operate(Long a, Long b, const std::string& button, Press by) {
    std::vector<Step> steps{Type(std::to_string(a)), Key(Keys::Tab), Type(std::to_string(b))};
    if (by == Press::Mouse) {
        steps.push_back(Click(button));
        return steps;
    }
    steps.push_back(Key(Keys::Return));  // to Command1, then along the buttons
    const auto tabs = std::distance(kButtons.begin(), std::ranges::find(kButtons, button));
    for (auto i = 0; i < tabs; ++i) {
        steps.push_back(Key(Keys::Tab));
    }
    steps.push_back(Key(by == Press::Space ? Keys::Space : Keys::Return));
    return steps;
}

// The operands stay as they were and the focus stays on the button.
Case Operation(std::string name, Long a, Long b, const std::string& button, Row result,
               Press by = Press::Mouse) {
    const int beeps = result[0] == "00" ? 1 : 0;
    return {std::move(name), Operate(a, b, button, by),
            Outcome{.row1 = Shown(a),
                    .row2 = Shown(b),
                    .row3 = std::move(result),
                    .focus = button,
                    .beeps = beeps}};
}

class Operations : public WindowTable {};
TEST_P(Operations, Case) {
    RunCase();
}

constexpr Long kLowest = -2147483647 - 1;
constexpr Long kHighest = 2147483647;

const Case kArithmetic[] = {
    Operation("AddPastHighestReports", kHighest, 1, "Plus", Report("Adding"), Press::Space),
    Operation("AddReachesHighest", 2147483646, 1, "Plus", Shown(kHighest)),
    Operation("AddReachesLowest", -2147483647, -1, "Plus", Shown(kLowest), Press::Enter),
    Operation("SubtractBelowLowestReports", kLowest, 1, "Minus", Report("Subtracting")),
    Operation("SubtractLowestFromZeroReports", 0, kLowest, "Minus", Report("Subtracting")),
    Operation("SubtractReachesLowest", -1, kHighest, "Minus",
              Row{"-2147483648", "80000000", std::string("1") + std::string(31, '0')},
              Press::Enter),
    Operation("SubtractBelowZero", 5, 7, "Minus",
              Row{"-2", "FFFFFFFE", std::string(31, '1') + "0"}),
    Operation("MultiplyPastHighestReports", 65536, 32768, "Multiply", Report("Multiplying")),
    Operation("MultiplyMinusOneByLowestReports", -1, kLowest, "Multiply", Report("Multiplying"),
              Press::Space),
    Operation("MultiplyReachesLowest", -65536, 32768, "Multiply", Shown(kLowest)),
    Operation("MultiplyTwoNegatives", -46340, -46340, "Multiply", Shown(2147395600)),
    Operation("DivideLowestByMinusOneReports", kLowest, -1, "Divide", Report("Dividing"),
              Press::Space),
    Operation("DividePositiveByPositive", 7, 2, "Divide", Shown(3), Press::Enter),
    Operation("DivideNegativeByPositive", -7, 2, "Divide", Shown(-3)),
    Operation("DividePositiveByNegative", 7, -2, "Divide", Shown(-3)),
    Operation("DivideNegativeByNegative", -7, -2, "Divide", Shown(3)),
    Operation("DivideToZero", 1, 2, "Divide", Shown(0)),
};
INSTANTIATE_TEST_SUITE_P(Arithmetic, Operations, ::testing::ValuesIn(kArithmetic), CaseName);

const Case kBitwise[] = {
    Operation("NotZero", 0, 0, "Not", Row{"-1", "FFFFFFFF", std::string(32, '1')}, Press::Space),
    // Reading Text2Dec instead would show ~7 = -8.
    Operation("NotLowestReadsOnlyText1Dec", kLowest, 7, "Not", Shown(kHighest)),
    Operation("AndMinusOneWith255", -1, 255, "Command1", Shown(255), Press::Enter),
    Operation("Or12With3", 12, 3, "Command2", Shown(15), Press::Space),
    Operation("XorLowestWithMinusOne", kLowest, -1, "Command3", Shown(kHighest)),
    Operation("XorWithItself", 5, 5, "Command3", Shown(0), Press::Enter),
};
INSTANTIATE_TEST_SUITE_P(Bitwise, Operations, ::testing::ValuesIn(kBitwise), CaseName);

const Case kSequences[] = {
    // "00" must give way to the whole row of a zero result.
    {"ReportThenZeroResult",
     {Type("-2147483648"), Key(Keys::Tab), Type("-2147483648"), Click("Plus"), Click("Command3")},
     {.row3 = Shown(0), .focus = "Command3", .beeps = 1}},
    {"TwoReportsInARow",
     {Type("-2147483648"), Key(Keys::Tab), Type("-1"), Click("Multiply"), Click("Divide")},
     {.row1 = Shown(kLowest),
      .row2 = Shown(-1),
      .row3 = Report("Dividing"),
      .focus = "Divide",
      .beeps = 2}},
    // After "00", a difference must show itself, not a zero nor the old report.
    {"ReportThenDifference",
     {Type("-2147483648"), Key(Keys::Tab), Type("-1"), Click("Multiply"), Click("Minus")},
     {.row3 = Shown(-2147483647), .focus = "Minus", .beeps = 1}},
    // The leave runs before the click, so the click reads the rewritten operands.
    {"OperandsLeftByTheClickAreReadRewritten",
     {Type("0x10"), Key(Keys::Tab), Type(" 3 "), Click("Plus")},
     {.row1 = Shown(16), .row2 = Shown(3), .row3 = Shown(19), .focus = "Plus"}},
    // So does an assistive tool's press of the button; a rejection there keeps it from running.
    {"AssistivePressLeavesTheBoxFirst",
     {Type("7"), Key(Keys::Tab), Type("5"), GestureOn{driver::Gesture::Press, "Plus"}},
     {.row3 = Shown(12), .focus = "Plus"}},
    {"AssistivePressAfterARejection",
     {Type("7"), Key(Keys::Tab), Type("x"), GestureOn{driver::Gesture::Press, "Plus"}},
     {.row3 = Shown(0), .focus = "Text2Dec", .beeps = 1}},
    // Even where the system's press clicks a disabled button anyway.
    {"AssistivePressOnTheDisabledDivide",
     {Type("7"), Key(Keys::Tab), Type("0"), GestureOn{driver::Gesture::Press, "Divide"}},
     {.row3 = Shown(0), .focus = "Text2Dec", .divideEnabled = false}},
    // Divide is disabled for a zero divisor, so a click on it reaches nothing.
    {"ZeroDivisorLeavesDivideDisabled",
     {Type("7"), Key(Keys::Tab), Type("0"), Click("Divide")},
     {.row3 = Shown(0), .focus = "Text2Dec", .divideEnabled = false}},
};
INSTANTIATE_TEST_SUITE_P(Sequences, Operations, ::testing::ValuesIn(kSequences), CaseName);

}  // namespace
}  // namespace tsrl::testing
