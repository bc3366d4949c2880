// Names a window or control for assistive tools, which otherwise read its caption or, for a
// box, the label before it.
#pragma once

#include <windows.h>

#include <string_view>

struct IAccPropServices;

namespace tsrl::forms {

// The system's store of such names, opened once for a window's controls: each opening is a COM
// activation, some tenths of a ms each under Wine.
class AccessibleTexts {
  public:
    AccessibleTexts();
    ~AccessibleTexts();
    AccessibleTexts(const AccessibleTexts&) = delete;
    AccessibleTexts& operator=(const AccessibleTexts&) = delete;

    // Empty texts are left alone. Where the system keeps no such names, the control keeps the
    // ones it would have had.
    void Set(HWND handle, std::string_view name, std::string_view description) const;

  private:
    IAccPropServices* services_ = nullptr;
};

}  // namespace tsrl::forms
