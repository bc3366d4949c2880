// The native handles behind a form's opaque ones on this backend, and what the backend and the
// programs that drive it from outside share; internal to the backend and its tests.
#pragma once

#include <windows.h>

#include "controls.h"
#include "form.h"

namespace tsrl::forms {

inline NativeControl* AsNative(HWND handle) {
    return reinterpret_cast<NativeControl*>(handle);
}
inline HWND HandleOf(const Control& control) {
    return reinterpret_cast<HWND>(control.Native());
}
inline HWND HandleOf(const Form& form) {
    return reinterpret_cast<HWND>(form.Native());
}

// Sent to a form's window, answered with the number of alerts the form has sounded, so that a
// test driving the program from outside can hear them.
inline constexpr UINT kAlertsMessage = WM_APP + 2;

}  // namespace tsrl::forms
