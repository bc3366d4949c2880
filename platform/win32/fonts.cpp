// The Win32 window's fonts: made at its DPI, measured, and set on its controls.
#include <windows.h>

#include <cmath>

#include "wide_text.h"
#include "win32_window.h"

namespace tsrl::forms {
namespace {

constexpr int kPointsPerInch = 72;

}  // namespace

// The client edge already keeps the text a pixel from the border, and the binary column needs
// every other pixel: in the layout's face at 96 DPI the error message is that wide.
void SetNoMargins(HWND box) {
    SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

FontHandle MakeFont(const Font& font, UINT dpi) {
    const auto height = static_cast<int>(std::lround(font.points * dpi / kPointsPerInch));
    return FontHandle(CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                  FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  Wide(font.family).c_str()));
}

double Win32Window::TextWidth(const Font& font, std::u16string_view text) const {
    const FontHandle made = MakeFont(font, dpi_);
    HDC dc = GetDC(window_);
    const HGDIOBJ previous = SelectObject(dc, made.get());
    SIZE size{};
    GetTextExtentPoint32W(dc, Wide(text).c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(window_, dc);
    return size.cx;
}

double Win32Window::LineWidth(ControlId id) const {
    // The EDIT's own formatting rectangle: inside the client edge it keeps a pixel on each side.
    RECT text{};
    SendMessageW(handles_[id], EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    return text.right - text.left;
}

void Win32Window::SetFont(std::optional<ControlId> id, const Font& font) {
    if (id) {
        fonts_[*id] = font;
        madeFonts_[*id] = MakeFont(font, dpi_);
        ApplyFont(*id);
        return;
    }
    windowFont_ = font;
    madeWindowFont_ = MakeFont(font, dpi_);
    // A control with a font of its own keeps it; setting a font costs each control a new layout.
    for (ControlId each = 0; each < handles_.size(); ++each) {
        if (!madeFonts_[each]) {
            ApplyFont(each);
        }
    }
}

void Win32Window::ApplyFont(ControlId id) {
    HFONT font = madeFonts_[id] ? madeFonts_[id].get() : madeWindowFont_.get();
    if (handles_[id] == nullptr || font == nullptr) {
        return;
    }
    SendMessageW(handles_[id], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (layout_.controls[id].kind == ControlKind::TextBox) {
        SetNoMargins(handles_[id]);  // a new font brings its own
    }
}

}  // namespace tsrl::forms
