// Names a window or control for assistive tools, which otherwise read its caption or, for a
// box, the label before it.
#pragma once

#include <windows.h>

#include <string_view>

namespace tsrl::forms {

// Empty texts are left alone. Where the system keeps no such names, the control keeps the
// ones it would have had.
void SetAccessibleText(HWND handle, std::string_view name, std::string_view description);

}  // namespace tsrl::forms
