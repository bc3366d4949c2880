#include "colours.h"

#include <utility>

namespace tsrl::forms {
namespace {

COLORREF ToColorRef(const Rgb& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

bool HighContrastOn() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) != FALSE &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

ControlColours::ControlColours(std::span<const ControlLayout> controls)
    : controls_(controls), brushes_(controls.size()), highContrast_(HighContrastOn()) {
    for (std::size_t id = 0; id < controls.size(); ++id) {
        if (controls[id].background) {
            brushes_[id] = CreateSolidBrush(ToColorRef(*controls[id].background));
        }
    }
}

ControlColours::~ControlColours() {
    for (HBRUSH brush : brushes_) {
        if (brush != nullptr) {
            DeleteObject(brush);
        }
    }
}

// Without a brush of ours, the window procedure's default gives the control the system's colours:
// a read-only box is drawn as the system draws any.
HBRUSH ControlColours::Paint(ControlId id, HDC dc) const {
    if (highContrast_ || brushes_[id] == nullptr) {
        return nullptr;
    }
    const ControlLayout& c = controls_[id];
    SetBkColor(dc, ToColorRef(*c.background));
    if (c.foreground) {
        SetTextColor(dc, ToColorRef(*c.foreground));
    }
    return brushes_[id];
}

// High contrast turned on or off comes with both messages; new system colours with the first
// alone, which the controls are told of too, as common controls need.
void ControlColours::SystemChanged(HWND window, UINT message) {
    const bool before = std::exchange(highContrast_, HighContrastOn());
    if (message == WM_SYSCOLORCHANGE) {
        EnumChildWindows(
            window,
            [](HWND child, LPARAM) {
                SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
                return TRUE;
            },
            0);
    } else if (before == highContrast_) {
        return;
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace tsrl::forms
