// The native control behind an engine control, for the Win32 driver and the backend's own tests.
#pragma once

#include <windows.h>

#include "controls.h"
#include "native_form.h"

namespace tsrl::testing {

// The one place that reaches from the engine's controls to their native handles.
inline HWND NativeOf(const forms::Control& control) {
    return forms::HandleOf(control.Widget());
}

}  // namespace tsrl::testing
