// The Win32 backend's window: the native primitives of native_window.h on USER32 controls, and
// the translation of their messages into the router's calls (messages.cpp).
#pragma once

#include <windows.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "accessibility.h"
#include "activation.h"
#include "colours.h"
#include "live_region.h"
#include "native_window.h"

namespace tsrl::forms {

inline constexpr int kTwipsPerInch = 1440;
// Posted to the window to finish a focus change once the native one under way is over.
inline constexpr UINT kFinishFocusMessage = WM_APP + 1;
inline constexpr UINT kStandardDpi = 96;

inline int TwipsToPixels(double twips, UINT dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

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
    Win32Window(const WindowLayout& layout, EventRouter& router);
    ~Win32Window() override;

    NativeControl* Handle() const override;
    NativeControl* Create(ControlId id, const ControlLayout& control) override;
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
    int Length(ControlId id) const override;
    std::pair<int, int> Selection(ControlId id) const override;
    bool Enabled(ControlId id) const override;
    void Beep() override;

    bool CanTakeFocus(ControlId id) const override;
    bool HasFocus(ControlId id) const override;
    void Focus(ControlId id) override;
    void FinishFocusChangeLater() override;
    void Type(ControlId id, char16_t key) override;
    std::u16string Text(ControlId id) const override;
    void ReplaceText(ControlId id, std::u16string_view text) override;
    void Select(ControlId id, int start, int end) override;
    void SetEnabled(ControlId id, bool enabled) override;
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
    PixelRect PlaceOf(const ControlLayout& c) const;  // at the window's DPI
    void ApplyFont(ControlId id);
    // The clipboard's text, as the router lets the box take it.
    void Paste(ControlId id);
    // Ctrl+Backspace, which the native box would type as a DEL.
    void DeleteWordBefore(ControlId id);
    // A press the rules judge, given the focus first; true where it goes no further.
    bool OnPress(ControlId id, bool primary, WPARAM wParam, LPARAM lParam);
    void OnMove(ControlId id, WPARAM wParam, LPARAM lParam);

    const WindowLayout& layout_;
    EventRouter& router_;
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
    // A left press that only gave a typing box the focus, at its point, let through to the box if
    // a drag follows it.
    struct HeldPress {
        ControlId box;
        LPARAM at;
    };
    std::optional<HeldPress> held_;
    bool pasting_ = false;  // its pieces' change notifications are the paste's one edit
};

}  // namespace tsrl::forms
