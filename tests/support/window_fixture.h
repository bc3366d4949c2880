// A fresh calculator window per test, on real widgets, with the steps a user takes: clicks,
// typed text and keys, always sent where the user's input would go.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <Qt>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "form1.h"

class QWidget;

namespace tsrl::testing {

struct ClickOn {
    std::string control;
};
struct TypeText {
    QString text;
};
struct PressKey {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
struct PasteText {  // from the clipboard, with Ctrl+V
    QString text;
};
using Step = std::variant<ClickOn, TypeText, PressKey, PasteText>;

inline Step Click(std::string control) {
    return ClickOn{std::move(control)};
}
inline Step Type(QString text) {
    return TypeText{std::move(text)};
}
inline Step Paste(QString text) {
    return PasteText{std::move(text)};
}
inline Step Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return PressKey{key, modifiers};
}

// One row of boxes: decimal, hex, binary.
using Row = std::array<QString, 3>;

// The 32 binary digits of a pattern, most significant first.
QString Bits(std::uint32_t pattern);

// What a case must leave; a row left unset is not checked, the beep count always is.
struct Outcome {
    std::optional<Row> row1 = std::nullopt;
    std::optional<Row> row2 = std::nullopt;
    std::optional<Row> row3 = std::nullopt;
    std::string focus = {};
    std::optional<QString> selected = std::nullopt;  // in the focused box
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
    QWidget* Widget(const std::string& control) const;
    // The text of a box, as the window reads it.
    QString Text(const std::string& box) const;
    // The object name of the widget that has the keyboard focus, or "" for none.
    std::string Focus() const;
    // The text selected in the focused box.
    QString SelectedText(const std::string& box) const;
    bool Enabled(const std::string& button) const;
    // Beeps since the window was shown.
    int Beeps() const;

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
