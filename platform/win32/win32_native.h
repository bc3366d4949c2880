// The native handles behind a form's opaque ones on this backend, for code that drives them
// itself.
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

}  // namespace tsrl::forms
