#include "activation.h"

namespace tsrl::forms {

// A plain window forgets its focused control when another window is activated. The focus comes
// back by way of the window itself, as DefWindowProc would give it, so that the control's focus
// comes from a window: a focus that comes from none raises no EVENT_OBJECT_FOCUS on some
// systems (Wine), and a screen reader would not hear where it is.
void KeptFocus::Activated(HWND window, WPARAM wParam) {
    HWND focus = GetFocus();
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (focus != nullptr && IsChild(window, focus) != FALSE) {
            control_ = focus;
        }
        return;
    }
    if (control_ == nullptr || focus == control_) {
        return;
    }
    if (focus == nullptr) {
        SetFocus(window);
    }
    SetFocus(control_);
}

}  // namespace tsrl::forms
