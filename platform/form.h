// A window created from its form description: its controls, built once from the layout, its
// placement and first focus, its font fitted to the boxes, its alerts and announcements, and
// the routing of its controls' events to the procedures connected to them: one at a time,
// LostFocus before the next GotFocus or Click, Change inside the write that caused it, and no
// exception ever escaping into the toolkit. The same on every backend.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "announcements.h"
#include "controls.h"
#include "editing_rules.h"
#include "event_router.h"
#include "events.h"
#include "layout.h"
#include "native_window.h"

namespace tsrl::forms {

class Form {
  public:
    explicit Form(const WindowLayout& layout);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form() = default;

    TextBox& TextBoxNamed(std::string_view name) const;
    CommandButton& ButtonNamed(std::string_view name) const;
    Control* Find(std::string_view name) const;

    // Connects a procedure to an event of a control, or to Load of the window (by its name).
    void Connect(std::string_view name, Event event, Procedure procedure);
    void ConnectKeyPress(std::string_view name, KeyProcedure procedure);

    // Outer size and position of the window, and the size of the screen, in twips.
    float Width() const;
    float Height() const;
    void SetLeft(float left);
    void SetTop(float top);
    float ScreenWidth() const;
    float ScreenHeight() const;

    // The short alert sound; returns at once. What the procedures then wrote is announced as a
    // report.
    void Beep();

    // What a screen reader calls the window, rather than by its caption.
    void SetAccessibleText(std::string_view name, std::string_view description);
    // Raises Load; then Show() shows the window, within the work area, with the focus on the
    // lowest tab index; Run() does both and serves the window's events until it is closed.
    void Load();
    void Show();
    int Run();

    NativeControl* Native() const;
    // The control whose GotFocus ran last and whose LostFocus has not run yet, if any.
    Control* FocusedControl() const;

  private:
    friend class Control;
    friend class TextBox;
    friend class CommandButton;
    ControlId IdOf(const Control& control) const { return router_.IdOf(control.Layout()); }
    void FitFont();
    int ToPixels(float twips) const;
    float ToTwips(int pixels) const;

    const WindowLayout& layout_;
    // Made first and gone last: the rules read and drive it, and it reports to them while they
    // live.
    std::unique_ptr<NativeWindow> native_;
    EditingRules editing_;
    Announcements announcements_;
    EventRouter router_;
    std::vector<std::unique_ptr<Control>> controls_;  // by ControlId
};

}  // namespace tsrl::forms
