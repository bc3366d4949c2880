// What a backend offers the portable form: one window and its controls as one table of native
// primitives. The backend translates its native events into calls of the router and of the
// editing rules it is attached to; when a control is made and where, where the window goes,
// which font the boxes get, who gets the focus, what a press, a paste or a drop does and what is
// said to a screen reader are decided by the portable engine, never here.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "events.h"
#include "layout.h"
#include "pixels.h"

namespace tsrl::forms {

class EditingRules;
class EventRouter;
struct NativeControl;

class NativeWindow {
  public:
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;
    virtual ~NativeWindow() = default;

    // From now on the window reports its events to these, until it is destroyed: a window
    // being torn down reports nothing.
    virtual void Attach(EventRouter& router, EditingRules& editing) = 0;

    // The window, made with its caption, icon and client size from the layout but not shown.
    virtual NativeControl* Handle() const = 0;
    // A native control of the layout's kind at a place in the backend's pixels; labels in
    // their own font.
    virtual NativeControl* Create(ControlId id, const ControlLayout& control,
                                  const PixelRect& at) = 0;
    // Below every other control, where they overlap.
    virtual void Lower(ControlId id) = 0;
    // Empty texts are left alone; no control: the window itself.
    virtual void SetAccessibleText(std::optional<ControlId> id, std::string_view name,
                                   std::string_view description) = 0;

    // Fonts: the width of a text in a font, the width a box lays one line of text out in, and
    // the font of a control, or of the window: that of every control without one of its own.
    virtual double TextWidth(const Font& font, std::u16string_view text) const = 0;
    virtual double LineWidth(ControlId id) const = 0;
    virtual void SetFont(std::optional<ControlId> id, const Font& font) = 0;

    // Placement. The outer frame, before the first show the one the window will have.
    virtual int PixelsPerInch() const = 0;
    virtual PixelRect Screen() const = 0;
    virtual PixelRect WorkArea() const = 0;
    virtual PixelRect Frame() const = 0;
    virtual void MoveFrame(int left, int top) = 0;
    // Shows and activates the window with the native focus on a control.
    virtual void Show(std::optional<ControlId> focus) = 0;
    virtual int RunLoop() = 0;

    // Focus. Enabled and visible; labels never take the focus and are not asked.
    virtual bool CanTakeFocus(ControlId id) const = 0;
    virtual bool HasFocus(ControlId id) const = 0;
    // Moves the native focus now; the backend reports the FocusOut and FocusIn that follow.
    virtual void Focus(ControlId id) = 0;
    // Calls the router's FinishFocusChange once the native focus change under way is over.
    virtual void FinishFocusChangeLater() = 0;

    // A box's text and selection, in UTF-16 code units, start <= end.
    virtual std::u16string Text(ControlId id) const = 0;
    virtual int Length(ControlId id) const = 0;
    // Sets the native text; the change notifications it sends are the write's own.
    virtual void ReplaceText(ControlId id, std::u16string_view text) = 0;
    virtual std::pair<int, int> Selection(ControlId id) const = 0;
    virtual void Select(ControlId id, int start, int end) = 0;
    // The box's undo history starts here: nothing before can be undone.
    virtual void ForgetUndo(ControlId id) = 0;
    // Types a key into a box as the user would have; it reaches the router's Key again, which
    // lets it pass.
    virtual void Type(ControlId id, char16_t key) = 0;

    virtual bool Enabled(ControlId id) const = 0;
    virtual void SetEnabled(ControlId id, bool enabled) = 0;

    // The short alert sound; returns at once.
    virtual void Beep() = 0;
    // Whether the system offers a way to speak a text to a screen reader; Announce is called
    // only where it does.
    virtual bool CanAnnounce() const = 0;
    virtual void Announce(std::u16string_view text) = 0;

  protected:
    NativeWindow() = default;
};

// The backend's window for a layout.
std::unique_ptr<NativeWindow> MakeNativeWindow(const WindowLayout& layout);

}  // namespace tsrl::forms
