// The Win32 side of a Form, internal to the backend: the native window and controls, and the
// translation of their messages into the engine's rules (event_router.h).
#pragma once

#include <windows.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "event_router.h"
#include "form.h"
#include "live_region.h"

namespace tsrl::forms {

// The public headers carry a control's or the window's native handle opaquely; on this backend
// it is the HWND.
inline NativeControl* AsNative(HWND handle) {
    return reinterpret_cast<NativeControl*>(handle);
}
inline HWND HandleOf(const Control& control) {
    return reinterpret_cast<HWND>(control.Native());
}
inline HWND HandleOf(const Form& form) {
    return reinterpret_cast<HWND>(form.Native());
}

inline constexpr int kTwipsPerInch = 1440;
inline constexpr UINT kStandardDpi = 96;

// The number of beeps so far, published on the program's windows so that a test driving the
// program from outside can hear them.
inline constexpr wchar_t kBeepCountProperty[] = L"TsrlBeepCount";

std::u16string ReadText(HWND handle);

inline int TwipsToPixels(double twips, UINT dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}
inline float PixelsToTwips(int pixels, UINT dpi) {
    return static_cast<float>(pixels) * static_cast<float>(kTwipsPerInch) / static_cast<float>(dpi);
}

// A GDI object that is deleted with its owner.
struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;

struct Form::Router final : NativeControls {
    Router(Form& form, const WindowLayout& description);
    Router(const Router&) = delete;
    Router& operator=(const Router&) = delete;
    ~Router();

    // NativeControls.
    bool CanTakeFocus(ControlId id) const override;
    bool HasFocus(ControlId id) const override;
    void Focus(ControlId id) override;
    void FinishFocusChangeLater() override;
    void Type(ControlId id, char16_t key) override;
    std::u16string Text(ControlId id) const override;
    void ReplaceText(ControlId id, std::u16string_view text) override;
    std::u16string AccessibleName(ControlId id) const override;
    void Announce(std::u16string_view text) override;
    int BeepCount() const override;

    std::optional<ControlId> IdOf(HWND handle) const;
    // Places the window and every control, and makes their fonts, for the window's DPI.
    void ApplyDpi(UINT newDpi);
    static LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR router);
    LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ControlMessage(ControlId id, UINT message, WPARAM wParam, LPARAM lParam);
    // Pastes the clipboard's text into a typing box without its line breaks.
    void Paste(ControlId id);

    const WindowLayout& layout;
    EventRouter rules;
    HWND window = nullptr;
    UINT dpi;
    std::vector<HWND> handles;  // by ControlId
    std::vector<std::unique_ptr<Control>> controls;
    std::vector<FontHandle> labelFonts;  // by ControlId; empty for controls in the default font
    FontHandle defaultFont;
    std::vector<BrushHandle> backgrounds;  // by ControlId; empty where the system colour serves
    std::optional<LiveRegion> liveRegion;  // created with the controls
    HWND focusWhileInactive = nullptr;
    bool focusByPointer = false;  // a press is giving a control the focus
};

}  // namespace tsrl::forms
