// Typing into the operand rows and leaving the boxes, as a user does it from a fresh window.
// The focus starts in Text1Dec; Tab goes Text1Dec, Text2Dec, Text1Hex, Text2Hex, Command1.
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

const std::string kError = "Error!  Input not a number or out of range!";
const Row kZero{"0", "00000000", Bits(0)};

Step Tab() {
    return Key(Keys::Tab);
}
Step BackTab() {
    return Key(Keys::Tab, kShift);
}
Step Enter() {
    return Key(Keys::Return);
}
Step SelectAll() {
    return Key(Keys::A, kCtrl);
}
const Step kCtrlBackspace = Key(Keys::Backspace, kCtrl);

// Operand entry never writes the result row, whatever the case.
class OperandEntry : public WindowTable {};
TEST_P(OperandEntry, Case) {
    RunCase();
    ExpectRow(3, kZero);
}

const Case kAccepted[] = {
    {"StartUp",
     {},
     {.row1 = kZero,
      .row2 = kZero,
      .row3 = kZero,
      .focus = "Text1Dec",
      .selected = "0",
      .divideEnabled = false}},
    {"DecimalLeadingZerosDropped",
     {Type("007"), Tab()},
     {.row1 = Row{"7", "00000007", Bits(7)}, .row2 = kZero, .focus = "Text2Dec", .selected = "0"}},
    {"DecimalBlanksAroundDropped",
     {Type(" 42 "), Tab()},
     {.row1 = Row{"42", "0000002A", Bits(42)}, .focus = "Text2Dec"}},
    {"DecimalZeroXHexForm",
     {Type("0x1F"), Tab()},
     {.row1 = Row{"31", "0000001F", Bits(31)}, .focus = "Text2Dec"}},
    {"DecimalZeroBBinaryForm",
     {Type("0b101"), Tab()},
     {.row1 = Row{"5", "00000005", Bits(5)}, .focus = "Text2Dec"}},
    {"DecimalAmpHHexForm",
     {Type("&hFF"), Tab()},
     {.row1 = Row{"255", "000000FF", Bits(255)}, .focus = "Text2Dec"}},
    {"DecimalAllOnesPatternIsMinusOne",
     {Type("0xFFFFFFFF"), Tab()},
     {.row1 = Row{"-1", "FFFFFFFF", Bits(0xFFFFFFFF)}, .focus = "Text2Dec"}},
    {"DecimalLowest",
     {Type("-2147483648"), Tab()},
     {.row1 = Row{"-2147483648", "80000000", Bits(0x80000000)}, .focus = "Text2Dec"}},
    {"DecimalHighest",
     {Type("2147483647"), Tab()},
     {.row1 = Row{"2147483647", "7FFFFFFF", Bits(0x7FFFFFFF)}, .focus = "Text2Dec"}},
    {"HexTypedAndLeftRewritesTheRow",
     {Click("Text1Hex"), SelectAll(), Type("ff"), Tab()},
     {.row1 = Row{"255", "000000FF", Bits(255)}, .focus = "Text2Hex", .selected = "00000000"}},
    {"HexHighBitIsNegative",
     {Tab(), Tab(), Type("80000000"), Tab()},
     {.row1 = Row{"-2147483648", "80000000", Bits(0x80000000)}, .focus = "Text2Hex"}},
    {"HexNineDigitsWithLeadingZero",
     {Tab(), Tab(), Type("000000001"), Tab()},
     {.row1 = Row{"1", "00000001", Bits(1)}, .focus = "Text2Hex"}},
    {"Row2DecimalLeavesRow1Alone",
     {Tab(), Type("-3"), Tab()},
     {.row1 = kZero,
      .row2 = Row{"-3", "FFFFFFFD", Bits(0xFFFFFFFD)},
      .focus = "Text1Hex",
      .selected = "00000000",
      .divideEnabled = true}},
    {"Row2HexLeavesRow1Alone",
     {Tab(), Tab(), Tab(), Type("a"), Tab()},
     {.row1 = kZero,
      .row2 = Row{"10", "0000000A", Bits(10)},
      .focus = "Command1",
      .divideEnabled = true}},
    // A line break pasted with a number (from a terminal or a spreadsheet cell) reads as a blank,
    // and after hex digits as nothing.
    {"DecimalPastedWithItsLineBreak",
     {Paste("42\r\n"), Tab()},
     {.row1 = Row{"42", "0000002A", Bits(42)}, .focus = "Text2Dec"}},
    {"DecimalPastedAfterALineBreak",
     {Paste("\n42"), Tab()},
     {.row1 = Row{"42", "0000002A", Bits(42)}, .focus = "Text2Dec"}},
    {"HexPastedWithItsLineBreak",
     {Tab(), Tab(), Paste("ff\n"), Tab()},
     {.row1 = Row{"255", "000000FF", Bits(255)}, .focus = "Text2Hex"}},
    {"HexPastedAfterALineBreak",
     {Tab(), Tab(), Paste("\r\nff"), Tab()},
     {.row1 = Row{"255", "000000FF", Bits(255)}, .focus = "Text2Hex"}},
    {"ShiftTabBackSelectsTheWholeText",
     {Type("123"), Tab(), BackTab()},
     {.row1 = Row{"123", "0000007B", Bits(123)}, .focus = "Text1Dec", .selected = "123"}},
    // The click that gives a typing box the focus leaves its text selected: typing replaces it.
    {"AClickSelectsTheWholeText",
     {Type("12"), Click("Text1Hex")},
     {.row1 = Row{"12", "0000000C", Bits(12)}, .focus = "Text1Hex", .selected = "0000000C"}},
    // So does the first click into a box the focus came to otherwise: at start, or by Tab.
    {"FirstClickAtStartKeepsTheSelection",
     {Click("Text1Dec")},
     {.focus = "Text1Dec", .selected = "0"}},
    {"FirstClickAfterATabKeepsTheSelection",
     {Type("12"), Tab(), BackTab(), Click("Text1Dec")},
     {.row1 = Row{"12", "0000000C", Bits(12)}, .focus = "Text1Dec", .selected = "12"}},
    {"OnlyTheFocusedBoxShowsItsSelection",
     {Click("Text1Hex"), Click("Text2Dec")},
     {.focus = "Text2Dec", .selected = "0", .selectionHiddenIn = "Text1Hex"}},
    {"TypingAfterAClickReplacesTheText",
     {Click("Text1Hex"), Type("5"), Tab(), Click("Text2Dec"), Type("7"), Tab()},
     {.row1 = Row{"5", "00000005", Bits(5)},
      .row2 = Row{"7", "00000007", Bits(7)},
      .focus = "Text1Hex"}},
    // An undo never brings back the typing from before the value was confirmed.
    {"UndoStopsAtTheConfirmedValue",
     {Type("1234567"), Enter(), BackTab(), Key(Keys::End), Type("99"), Key(Keys::Z, kCtrl), Tab()},
     {.row1 = Row{"1234567", "0012D687", Bits(1234567)}, .focus = "Text2Dec"}},
    // Nothing to paste changes nothing; Shift+Insert pastes by the rule Ctrl+V follows.
    {"PasteOfNoTextKeepsTheText",
     {Type("123456"), SelectAll(), Paste("")},
     {.focus = "Text1Dec", .selected = "123456"}},
    {"ShiftInsertDropsTheLineBreak",
     {Paste("42\r\n"), SelectAll(), Key(Keys::Insert, kShift), Tab()},
     {.row1 = Row{"42", "0000002A", Bits(42)}, .focus = "Text2Dec"}},
    // A right click moves the focus as a left one does; a drag from the press that gave it
    // selects from where the press was, here before the "0".
    {"RightClickMovesTheFocus",
     {Type("12"), RightClick("Text1Hex")},
     {.row1 = Row{"12", "0000000C", Bits(12)}, .focus = "Text1Hex", .selected = "0000000C"}},
    {"DragFromTheFocusingPress",
     {DragLeft("Text2Dec"), Type("5"), Tab()},
     {.row2 = Row{"50", "00000032", Bits(50)}, .focus = "Text1Hex"}},
    // Ctrl+Backspace deletes the word before the caret: its digits and letters, not the blank or
    // the punctuation before them.
    {"CtrlBackspaceKeepsTheBlankBeforeTheWord",
     {Type("12 34"), kCtrlBackspace, Tab()},
     {.row1 = Row{"12", "0000000C", Bits(12)}, .focus = "Text2Dec"}},
    {"CtrlBackspaceTakesZeroXFormWhole",
     {Type("5 0x1F"), kCtrlBackspace, Tab()},
     {.row1 = Row{"5", "00000005", Bits(5)}, .focus = "Text2Dec"}},
    {"CtrlBackspaceStopsAtPunctuation",
     {Type("&hFF"), kCtrlBackspace, Type("h10"), Tab()},
     {.row1 = Row{"16", "00000010", Bits(16)}, .focus = "Text2Dec"}},
};
INSTANTIATE_TEST_SUITE_P(Accepted, OperandEntry, ::testing::ValuesIn(kAccepted), CaseName);

// Enter is never typed into a typing box; it moves down the column. Enter in row 2 must not
// click And either: 12 And 10 would show 8.
const Case kEnter[] = {
    {"Text1DecToText2Dec",
     {Type("9"), Enter()},
     {.row1 = Row{"9", "00000009", Bits(9)}, .focus = "Text2Dec", .selected = "0"}},
    {"Text1HexToText2Hex",
     {Tab(), Tab(), Type("1f"), Enter()},
     {.row1 = Row{"31", "0000001F", Bits(31)}, .focus = "Text2Hex", .selected = "00000000"}},
    {"Text2DecToCommand1",
     {Type("12"), Tab(), Type("10"), Enter()},
     {.row2 = Row{"10", "0000000A", Bits(10)}, .focus = "Command1", .divideEnabled = true}},
    {"Text2HexToCommand1",
     {Type("12"), Tab(), Tab(), Tab(), Type("a"), Enter()},
     {.row1 = Row{"12", "0000000C", Bits(12)},
      .row2 = Row{"10", "0000000A", Bits(10)},
      .focus = "Command1"}},
};
INSTANTIATE_TEST_SUITE_P(Enter, OperandEntry, ::testing::ValuesIn(kEnter), CaseName);

// A rejected text stays as typed and the row's other typing box keeps its text.
const Case kRejected[] = {
    {"DecimalEmpty",
     {Key(Keys::Backspace), Tab()},
     {.row1 = Row{"", "00000000", kError},
      .row2 = kZero,
      .focus = "Text1Dec",
      .selected = "",
      .beeps = 1}},
    {"DecimalNotANumber",
     {Type("7"), Tab(), BackTab(), Type("abc"), Tab()},
     {.row1 = Row{"abc", "00000007", kError}, .focus = "Text1Dec", .selected = "abc", .beeps = 1}},
    {"DecimalPastHighest",
     {Type("2147483648"), Tab()},
     {.row1 = Row{"2147483648", "00000000", kError},
      .focus = "Text1Dec",
      .selected = "2147483648",
      .beeps = 1}},
    {"RejectedHexKeepsTextBeepsAndTakesFocusBack",
     {Click("Text1Hex"), SelectAll(), Type("100000000"), Tab()},
     {.row1 = Row{"0", "100000000", kError},
      .focus = "Text1Hex",
      .selected = "100000000",
      .beeps = 1}},
    {"HexAmpHPrefix",
     {Type("7"), Tab(), Tab(), Type("&hFF"), Tab()},
     {.row1 = Row{"7", "&hFF", kError}, .focus = "Text1Hex", .selected = "&hFF", .beeps = 1}},
    {"HexSign",
     {Type("7"), Tab(), Tab(), Type("-1"), Tab()},
     {.row1 = Row{"7", "-1", kError}, .focus = "Text1Hex", .beeps = 1}},
    {"HexBlank",
     {Type("7"), Tab(), Tab(), Type(" FF"), Tab()},
     {.row1 = Row{"7", " FF", kError}, .focus = "Text1Hex", .beeps = 1}},
    {"DecimalLineBreakBetweenDigits",
     {Paste("4\r\n2"), Tab()},
     {.row1 = Row{"4 2", "00000000", kError}, .focus = "Text1Dec", .selected = "4 2", .beeps = 1}},
    {"Row2DecimalLeavesRow1Alone",
     {Type("7"), Tab(), Type("x"), Tab()},
     {.row1 = Row{"7", "00000007", Bits(7)},
      .row2 = Row{"x", "00000000", kError},
      .focus = "Text2Dec",
      .beeps = 1}},
    {"Row2HexLeavesRow1Alone",
     {Tab(), Tab(), Tab(), Type("g"), Tab()},
     {.row1 = kZero, .row2 = Row{"0", "g", kError}, .focus = "Text2Hex", .beeps = 1}},
};
INSTANTIATE_TEST_SUITE_P(Rejected, OperandEntry, ::testing::ValuesIn(kRejected), CaseName);

// Every further try to leave a rejected box runs the error path again and ends back in it.
std::vector<Step> RejectThen(std::vector<Step> tries) {
    std::vector<Step> steps{Type("abc"), Tab()};
    steps.insert(steps.end(), tries.begin(), tries.end());
    return steps;
}
const Outcome kBackInText1Dec{.row1 = Row{"abc", "00000000", kError},
                              .row2 = kZero,
                              .focus = "Text1Dec",
                              .selected = "abc",
                              .beeps = 2};

const Case kRetried[] = {
    {"TabAgain", RejectThen({Tab()}), kBackInText1Dec},
    {"ShiftTab", RejectThen({BackTab()}), kBackInText1Dec},
    {"Enter", RejectThen({Enter()}), kBackInText1Dec},
    {"ClickOnRowsOtherTypingBox", RejectThen({Click("Text1Hex")}), kBackInText1Dec},
    {"ClickOnOtherRow", RejectThen({Click("Text2Dec")}), kBackInText1Dec},
    {"ClickOnSingleLineDisplayBox", RejectThen({Click("Text1Bin")}), kBackInText1Dec},
    {"ClickOnMultiLineDisplayBox", RejectThen({Click("Text3Dec")}), kBackInText1Dec},
    // Plus would report "abc" as a failed add, with a third beep and "00".
    {"ClickOnPlusDoesNotRunIt", RejectThen({Click("Plus")}), kBackInText1Dec},
    {"RightClickOnOtherRow", RejectThen({RightClick("Text2Dec")}), kBackInText1Dec},
    {"RightClickOnADisplayBox", RejectThen({RightClick("Text1Bin")}), kBackInText1Dec},
    {"ThreeTriesThreeMoreBeeps",
     RejectThen({Tab(), Click("Text2Hex"), Enter()}),
     {.row1 = Row{"abc", "00000000", kError}, .focus = "Text1Dec", .selected = "abc", .beeps = 4}},
    // Only the box that holds the focus takes what the user types or pastes.
    {"PasteAfterAClickOnOtherRowGoesToTheRejectedBox",
     RejectThen({Click("Text2Dec"), Paste("99"), Tab()}),
     {.row1 = Row{"99", "00000063", Bits(99)}, .row2 = kZero, .focus = "Text2Dec", .beeps = 2}},
    // Unlike the first click after a Tab, one after a rejection places the caret, so that the
    // typo can be mended.
    {"ClickAfterARejectionPlacesTheCaret",
     {Type("12a45"), Tab(), Click("Text1Dec")},
     {.row1 = Row{"12a45", "00000000", kError}, .focus = "Text1Dec", .selected = "", .beeps = 1}},
    {"CorrectedTextPutsTheRowInStep",
     RejectThen({Type("12"), Tab()}),
     {.row1 = Row{"12", "0000000C", Bits(12)}, .focus = "Text2Dec", .selected = "0", .beeps = 1}},
    // A right-to-left text turns the box's direction, and digits turn it back: Left moves left.
    {"RightToLeftTextCorrected",
     {Paste("\u05d0\u05d1"), Tab(), Paste("12"), Key(Keys::Left), Paste("3"), Tab()},
     {.row1 = Row{"132", "00000084", Bits(132)}, .focus = "Text2Dec", .selected = "0", .beeps = 1}},
    {"RejectedHexThenClickOnRowsDecimalBox",
     {Tab(), Tab(), Type("xyz"), Tab(), Click("Text1Dec")},
     {.row1 = Row{"0", "xyz", kError}, .focus = "Text1Hex", .selected = "xyz", .beeps = 2}},
    // With 5 in Text1Dec, Not would show -6; with Divide enabled, Divide would report.
    {"ClickOnNotDoesNotRunIt",
     {Type("5"), Tab(), Type("12abc"), Tab(), Click("Not")},
     {.row2 = Row{"12abc", "00000000", kError},
      .focus = "Text2Dec",
      .selected = "12abc",
      .divideEnabled = true,
      .beeps = 2}},
    {"ClickOnDivideDoesNotRunIt",
     {Type("5"), Tab(), Type("12abc"), Tab(), Click("Divide")},
     {.row2 = Row{"12abc", "00000000", kError},
      .focus = "Text2Dec",
      .divideEnabled = true,
      .beeps = 2}},
};
INSTANTIATE_TEST_SUITE_P(Retried, OperandEntry, ::testing::ValuesIn(kRetried), CaseName);

// Divide follows every keystroke in Text2Dec, but Text2Hex only once it is left successfully.
const Case kDivide[] = {
    {"TypingFiveEnablesBeforeAnyLeave",
     {Tab(), Type("5")},
     {.row2 = Row{"5", "00000000", Bits(0)}, .focus = "Text2Dec", .divideEnabled = true}},
    {"TypingMinusThreeEnables", {Tab(), Type("-3")}, {.focus = "Text2Dec", .divideEnabled = true}},
    {"DeletingTheDigitDisables",
     {Tab(), Type("5"), Key(Keys::Backspace)},
     {.focus = "Text2Dec", .divideEnabled = false}},
    {"ReplacingWithZeroDisables",
     {Tab(), Type("5"), SelectAll(), Type("0")},
     {.focus = "Text2Dec", .divideEnabled = false}},
    {"ReplacingWithLettersDisables",
     {Tab(), Type("5"), SelectAll(), Type("abc")},
     {.focus = "Text2Dec", .divideEnabled = false}},
    // Ctrl+Backspace is an edit like any other, with its Change, and undone in one step.
    {"CtrlBackspaceDeletingTheNumberDisables",
     {Tab(), Type("12"), kCtrlBackspace},
     {.row2 = Row{"", "00000000", Bits(0)}, .focus = "Text2Dec", .divideEnabled = false}},
    {"CtrlBackspaceUndoneReenables",
     {Tab(), Type("12"), kCtrlBackspace, Key(Keys::Z, kCtrl)},
     {.row2 = Row{"12", "00000000", Bits(0)}, .focus = "Text2Dec", .divideEnabled = true}},
    {"ZeroXFormEnables", {Tab(), Type("0x10")}, {.focus = "Text2Dec", .divideEnabled = true}},
    {"AmpHZeroDisables",
     {Tab(), Type("5"), SelectAll(), Type("&h0")},
     {.focus = "Text2Dec", .divideEnabled = false}},
    {"LeadingNumberEnables", {Tab(), Type("12abc")}, {.focus = "Text2Dec", .divideEnabled = true}},
    {"LeadingNumberStaysEnabledWhenRejected",
     {Tab(), Type("12abc"), Tab()},
     {.row2 = Row{"12abc", "00000000", kError},
      .focus = "Text2Dec",
      .divideEnabled = true,
      .beeps = 1}},
    {"HexTypingAloneChangesNothing",
     {Tab(), Tab(), Tab(), Type("A")},
     {.row2 = Row{"0", "A", Bits(0)}, .focus = "Text2Hex", .divideEnabled = false}},
    {"HexLeftAsTenEnables",
     {Tab(), Tab(), Tab(), Type("A"), Tab()},
     {.row2 = Row{"10", "0000000A", Bits(10)}, .focus = "Command1", .divideEnabled = true}},
    {"HexLeftAsZeroDisables",
     {Tab(), Type("5"), Tab(), Tab(), Type("0"), Tab()},
     {.row2 = kZero, .focus = "Command1", .divideEnabled = false}},
    {"HexRejectedKeepsItEnabled",
     {Tab(), Type("5"), Tab(), Tab(), Type("xyz"), Tab()},
     {.row2 = Row{"5", "xyz", kError}, .focus = "Text2Hex", .divideEnabled = true, .beeps = 1}},
    // Disabled by the hex box left as the click gives it the focus, it gives the focus back to
    // that box, all selected, and never to a display box.
    {"DisabledAsItTakesTheFocus",
     {Type("100"), Enter(), Type("7"), Enter(), Click("Text2Hex"), Type("0"), Click("Divide"),
      Type("5")},
     {.row1 = Row{"100", "00000064", Bits(100)},
      .row2 = Row{"0", "5", Bits(0)},
      .focus = "Text2Hex",
      .divideEnabled = false}},
};
INSTANTIATE_TEST_SUITE_P(Divide, OperandEntry, ::testing::ValuesIn(kDivide), CaseName);

}  // namespace
}  // namespace tsrl::testing
