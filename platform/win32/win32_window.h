// The Win32 backend's window: the native primitives of native_window.h on USER32 controls, and
// the translation of their messages into calls of the router and the editing rules
// (messages.cpp).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "accessibility.h"
#include "activation.h"
#include "colours.h"
#include "editing_rules.h"
#include "event_router.h"
#include "live_region.h"
#include "native_window.h"

namespace tsrl::forms {

// Posted to the window to finish a focus change once the native one under way is over.
inline constexpr UINT kFinishFocusMessage = WM_APP + 1;
inline constexpr UINT kStandardDpi = kStandardPixelsPerInch;

// A GDI object that is deleted with its owner.
struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;

FontHandle MakeFont(const Font& font, UINT dpi);
// A box shows its text from the client edge on, with no margin of its own.
void SetNoMargins(HWND box);
std::u16string ReadText(HWND handle);

class Win32Window final : public NativeWindow {
  public:
    explicit Win32Window(const WindowLayout& layout);
    ~Win32Window() override;

    void Attach(EventRouter& router, EditingRules& editing) override;
    NativeControl* Handle() const override;
    NativeControl* Create(ControlId id, const ControlLayout& control, const PixelRect& at) override;
    void Lower(ControlId id) override;
    void SetAccessibleText(std::optional<ControlId> id, std::string_view name,
                           std::string_view description) override;
    double TextWidth(const Font& font, std::u16string_view text) const override;
    double LineWidth(ControlId id) const override;
    void SetFont(std::optional<ControlId> id, const Font& font) override;
    int PixelsPerInch() const override { return static_cast<int>(dpi_); }
    PixelRect Screen() const override;
    PixelRect WorkArea() const override;
    PixelRect Frame() const override;
    void MoveFrame(int left, int top) override;
    void Show(std::optional<ControlId> focus) override;
    int RunLoop() override;
    bool CanTakeFocus(ControlId id) const override;
    bool HasFocus(ControlId id) const override;
    void Focus(ControlId id) override;
    void FinishFocusChangeLater() override;
    std::u16string Text(ControlId id) const override;
    int Length(ControlId id) const override;
    void ReplaceText(ControlId id, std::u16string_view text) override;
    std::pair<int, int> Selection(ControlId id) const override;
    void Select(ControlId id, int start, int end) override;
    void ForgetUndo(ControlId id) override;
    void Type(ControlId id, char16_t key) override;
    bool Enabled(ControlId id) const override;
    void SetEnabled(ControlId id, bool enabled) override;
    void Beep() override;
    bool CanAnnounce() const override { return true; }
    void Announce(std::u16string_view text) override { liveRegion_->Say(text); }

  private:
    static LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
    LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ControlMessage(ControlId id, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<ControlId> IdOf(HWND handle) const;
    // Places the window and every control, and makes their fonts, for the window's DPI.
    void ApplyDpi(UINT dpi);
    void Place(ControlId id);
    void ApplyFont(ControlId id);
    // The clipboard's text, as the editing rules let the box take it.
    void Paste(ControlId id);
    // A text another program puts into a box, as an assistive tool does: by the editing rules.
    LRESULT AssistiveEdit(ControlId id, UINT message, WPARAM wParam, LPARAM lParam);
    // Ctrl+Backspace, which the native box would type as a DEL.
    void DeleteWordBefore(ControlId id);
    // A press the rules judge, given the focus first; true where it goes no further.
    bool OnPress(ControlId id, Button button, WPARAM wParam, LPARAM lParam);
    bool OnMove(ControlId id, WPARAM wParam, LPARAM lParam);

    const WindowLayout& layout_;
    // Attached once the rules exist; none while the window is torn down.
    EventRouter* router_ = nullptr;
    EditingRules* editing_ = nullptr;
    HWND window_ = nullptr;
    UINT dpi_;
    std::vector<HWND> handles_;  // by ControlId
    // As the form set them, and made at the window's DPI: by ControlId, and the window's.
    std::vector<std::optional<Font>> fonts_;
    std::vector<FontHandle> madeFonts_;
    std::optional<Font> windowFont_;
    FontHandle madeWindowFont_;
    ControlColours colours_;
    std::optional<LiveRegion> liveRegion_;            // what a screen reader is told
    std::optional<AccessibleTexts> accessibleTexts_;  // opened at the first name given
    KeptFocus keptFocus_;
    bool focusByPointer_ = false;  // a press is giving a control the focus
    // The backend's own change of a box's text: not another program's, and its notifications
    // are not a user's edit.
    bool writing_ = false;
};

}  // namespace tsrl::forms
