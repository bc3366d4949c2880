// What a backend offers the portable form: one window and its controls as a small table of
// native primitives. The backend translates its native events into the router's calls; when a
// control is made, where the window goes, which font the boxes get, who gets the focus first
// and what is said to a screen reader are decided by Form and EventRouter, never here.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "event_router.h"
#include "layout.h"

namespace tsrl::forms {

struct NativeControl;

// In the backend's pixels on the screen: logical on Qt, device pixels on Win32.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class NativeWindow : public NativeControls {
  public:
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;
    virtual ~NativeWindow() = default;

    // The window, made with its caption, icon and client size from the layout but not shown.
    virtual NativeControl* Handle() const = 0;
    // A native control of the layout's kind at the layout's place; labels in their own font.
    virtual NativeControl* Create(ControlId id, const ControlLayout& control) = 0;
    // Empty texts are left alone; no control: the window itself.
    virtual void SetAccessibleText(std::optional<ControlId> id, std::string_view name,
                                   std::string_view description) = 0;

    // Fonts: the width of a text in a font, the width a box shows one line of text in, and
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

    // The rest of a box's and a button's properties.
    virtual int Length(ControlId id) const = 0;
    virtual std::pair<int, int> Selection(ControlId id) const = 0;
    virtual bool Enabled(ControlId id) const = 0;
    virtual void Beep() = 0;

  protected:
    NativeWindow() = default;
};

// The backend's window for a layout, reporting its events to the router.
std::unique_ptr<NativeWindow> MakeNativeWindow(const WindowLayout& layout, EventRouter& router);

}  // namespace tsrl::forms
