// The controls a window procedure works with, through the properties it reads and writes:
// Text, SelStart, SelLength, Enabled, SetFocus. The toolkit stays behind these.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "layout.h"

namespace tsrl::forms {

class Form;
// The backend's own control or window, opaque here; each backend's internal header casts it.
struct NativeControl;

class Control {
  public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    std::string_view Name() const { return layout_.name; }
    const ControlLayout& Layout() const { return layout_; }
    // Moves the focus here; asked while the focus is changing, it takes effect when the change
    // has finished, so a LostFocus procedure can send the focus back without recursion.
    void SetFocus();
    NativeControl* Native() const { return native_; }

  protected:
    Control(Form& form, const ControlLayout& layout, NativeControl* native)
        : form_(form), layout_(layout), native_(native) {}
    Form& form_;

  private:
    const ControlLayout& layout_;
    NativeControl* native_;
};

class TextBox final : public Control {
  public:
    TextBox(Form& form, const ControlLayout& layout, NativeControl* native)
        : Control(form, layout, native) {}

    std::u16string Text() const;
    // A write that changes the text raises Change before it returns; an equal text raises none.
    void SetText(std::u16string_view text);
    // In UTF-16 code units, clamped to the text. Setting SelStart clears the selection.
    void SetSelStart(int start);
    void SetSelLength(int length);
    int SelStart() const;
    int SelLength() const;
};

class CommandButton final : public Control {
  public:
    CommandButton(Form& form, const ControlLayout& layout, NativeControl* native)
        : Control(form, layout, native) {}

    bool Enabled() const;
    void SetEnabled(bool enabled);
};

class Label final : public Control {
  public:
    Label(Form& form, const ControlLayout& layout, NativeControl* native)
        : Control(form, layout, native) {}
};

}  // namespace tsrl::forms
