// The colours of a window's controls: those the layout gives, or the system's while its high
// contrast setting is on, when only the system's colours keep every text readable to the user
// who chose them.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "events.h"
#include "layout.h"

namespace tsrl::forms {

class ControlColours {
  public:
    explicit ControlColours(std::span<const ControlLayout> controls);
    ~ControlColours();
    ControlColours(const ControlColours&) = delete;
    ControlColours& operator=(const ControlColours&) = delete;

    // For a control's WM_CTLCOLOREDIT or WM_CTLCOLORSTATIC: the layout's brush, with the DC's
    // colours set, or null where the system's colours serve.
    HBRUSH Paint(ControlId id, HDC dc) const;
    // For the window's WM_SYSCOLORCHANGE and WM_SETTINGCHANGE: the setting read again, and the
    // window drawn again where its colours change.
    void SystemChanged(HWND window, UINT message);

  private:
    std::span<const ControlLayout> controls_;
    std::vector<HBRUSH> brushes_;  // by ControlId; null where the layout gives no background
    bool highContrast_;
};

}  // namespace tsrl::forms
