// A test-only window for the engine's guarantees, independent of the calculator: two typing
// boxes (one single-line, one multi-line), two locked boxes, two buttons and a label. Every
// event of every control is written to an event log; a test replaces any procedure it needs to
// (Form::Connect replaces the one connected before).
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <Qt>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form.h"

class QWidget;

namespace tsrl::testing {

extern const forms::WindowLayout kProbeLayout;

class ProbeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    forms::Form& Probe() const { return *form_; }
    forms::TextBox& Box(std::string_view name) const { return form_->TextBoxNamed(name); }
    QWidget* Widget(std::string_view control) const;
    QString Text(std::string_view box) const;
    // The object name of the widget with the keyboard focus, or "" for none.
    std::string Focus() const;
    // The control whose GotFocus ran last without a LostFocus since, or "" for none.
    std::string EngineFocus() const;

    // What a user does, sent where the user's input would go; events are processed after each.
    void ClickOn(std::string_view control);
    void TypeText(const QString& text);
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Moves the focus through the engine, as a procedure would.
    void FocusOn(std::string_view control);

    // Entries "Control.Event"; KeyPress entries carry the character, "Line.KeyPress(a)", or
    // the code of a control character, "Line.KeyPress(#8)".
    void Log(std::string entry) { log_.push_back(std::move(entry)); }
    std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

  private:
    std::unique_ptr<forms::Form> form_;
    std::vector<std::string> log_;
};

std::string KeyEntry(std::string_view control, std::int16_t keyAscii);

}  // namespace tsrl::testing
