#include "qt_window.h"

namespace tsrl::forms {

std::unique_ptr<NativeWindow> MakeNativeWindow(const WindowLayout& layout) {
    return std::make_unique<QtWindow>(layout);
}

}  // namespace tsrl::forms
