// A fresh calculator window per test, on real widgets, with the steps a user takes: clicks,
// typed text and keys, always sent where the user's input would go.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <Qt>
#include <memory>
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
using Step = std::variant<ClickOn, TypeText, PressKey>;

inline Step Click(std::string control) {
    return ClickOn{std::move(control)};
}
inline Step Type(QString text) {
    return TypeText{std::move(text)};
}
inline Step Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return PressKey{key, modifiers};
}

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

  private:
    std::unique_ptr<Form1> form_;
    int beepsAtStart_ = 0;
};

}  // namespace tsrl::testing
