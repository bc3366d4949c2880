// A fresh calculator window per test, on real widgets, with the steps a user takes: clicks,
// typed text and keys, always sent where the user's input would go.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "form1.h"
#include "window_driver.h"

namespace tsrl::testing {

struct ClickOn {
    std::string control;
    driver::Pointer how = driver::Pointer::Click;
};
struct TypeText {
    std::string text;  // UTF-8
};
struct PressKey {
    Keys key;
    Modifiers modifiers = kNoModifier;
};
struct PasteText {  // from the clipboard, with Ctrl+V
    std::string text;
};
struct GestureOn {
    driver::Gesture gesture;
    std::string control;
    std::string text = {};  // UTF-8
};
using Step = std::variant<ClickOn, TypeText, PressKey, PasteText, GestureOn>;

inline Step Click(std::string control) {
    return ClickOn{std::move(control)};
}
inline Step RightClick(std::string control) {
    return ClickOn{std::move(control), driver::Pointer::RightClick};
}
inline Step DragLeft(std::string control) {
    return ClickOn{std::move(control), driver::Pointer::DragLeft};
}
inline Step Type(std::string text) {
    return TypeText{std::move(text)};
}
inline Step Paste(std::string text) {
    return PasteText{std::move(text)};
}
inline Step Key(Keys key, Modifiers modifiers = kNoModifier) {
    return PressKey{key, modifiers};
}

// One row of boxes: decimal, hex, binary.
using Row = std::array<std::string, 3>;

// The 32 binary digits of a pattern, most significant first.
std::string Bits(std::uint32_t pattern);

// What a case must leave; a row left unset is not checked, the beep count always is.
struct Outcome {
    std::optional<Row> row1 = std::nullopt;
    std::optional<Row> row2 = std::nullopt;
    std::optional<Row> row3 = std::nullopt;
    std::string focus = {};
    std::optional<std::string> selected = std::nullopt;  // in the focused box
    // A box without the focus that holds a selection, which must not show; the focused box's
    // selection must.
    std::string selectionHiddenIn = {};
    std::optional<bool> divideEnabled = std::nullopt;
    int beeps = 0;
};

// A named case of a table: the user's steps from a fresh window, then the outcome.
struct Case {
    std::string name;
    std::vector<Step> steps;
    Outcome outcome;
};
inline void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}
std::string CaseName(const ::testing::TestParamInfo<Case>& info);

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    forms::Form& Window() const { return form_->Window(); }
    forms::Control& Control(const std::string& name) const;
    // The text of a box, as the window reads it, in UTF-8.
    std::string Text(const std::string& box) const;
    // The name of the control that holds the native keyboard focus, or "" for none.
    std::string Focus() const;
    // The text selected in a box.
    std::string SelectedText(const std::string& box) const;
    bool Enabled(const std::string& button) const;
    // Beeps since the window was shown.
    int Beeps() const;
    // Failures that no procedure trapped, in this process: of every kind, and conversions'.
    struct Untrapped {
        int all = 0;
        int conversions = 0;
    };
    static Untrapped UntrappedFailures();

    void Run(const std::vector<Step>& steps);
    void Do(const Step& step);

    void ExpectRow(int row, const Row& texts) const;
    void Expect(const Outcome& outcome) const;

  private:
    std::unique_ptr<Form1> form_;
    int beepsAtStart_ = 0;
};

// A fixture for a table of cases: TEST_P(Suite, Case) { RunCase(); }.
class WindowTable : public WindowTest, public ::testing::WithParamInterface<Case> {
  protected:
    void RunCase() {
        Run(GetParam().steps);
        Expect(GetParam().outcome);
    }
};

}  // namespace tsrl::testing
