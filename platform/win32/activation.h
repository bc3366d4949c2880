// The control that holds a window's focus while another window is active, and gets it back when
// the window is activated again.
#pragma once

#include <windows.h>

namespace tsrl::forms {

class KeptFocus {
  public:
    // The control the focus goes to when the window is first activated.
    void Keep(HWND control) { control_ = control; }
    // The window's WM_ACTIVATE.
    void Activated(HWND window, WPARAM wParam);

  private:
    HWND control_ = nullptr;
};

}  // namespace tsrl::forms
