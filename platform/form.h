// A window created from its form description, and the routing of its controls' events to the
// procedures connected to them: one at a time, LostFocus before the next GotFocus or Click,
// Change inside the write that caused it, and no exception ever escaping into the toolkit.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "controls.h"
#include "layout.h"

namespace tsrl::forms {

enum class Event { Load, Click, GotFocus, LostFocus, KeyPress, Change };

class EventRouter;

using Procedure = std::function<void()>;
// KeyAscii by reference: set it to 0 to discard the key, or to another code to replace it.
using KeyProcedure = std::function<void(std::int16_t& KeyAscii)>;

class Form {
  public:
    explicit Form(const WindowLayout& layout);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form();

    TextBox& TextBoxNamed(std::string_view name) const;
    CommandButton& ButtonNamed(std::string_view name) const;
    Control* Find(std::string_view name) const;

    // Connects a procedure to an event of a control, or to Load of the window (by its name).
    void Connect(std::string_view name, Event event, Procedure procedure);
    void ConnectKeyPress(std::string_view name, KeyProcedure procedure);

    // Outer size and position, in twips.
    float Width() const;
    float Height() const;
    void SetLeft(float left);
    void SetTop(float top);

    // Raises Load; then Show() shows the window with the focus on the lowest tab index.
    void Load();
    void Show();

    NativeControl* Native() const;
    // The control whose GotFocus ran last and whose LostFocus has not run yet, if any.
    Control* FocusedControl() const;

  private:
    friend class Control;
    friend class TextBox;
    void RequestFocus(const Control& control);
    void WriteText(const TextBox& box, std::u16string_view text);
    // The backend's: the rules it feeds, and the control it made for a place in the layout.
    EventRouter& Rules() const;
    Control& ControlAt(std::size_t id) const;

    struct Router;
    std::unique_ptr<Router> router_;
};

}  // namespace tsrl::forms
