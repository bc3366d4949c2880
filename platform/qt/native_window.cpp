#include "qt_window.h"

namespace tsrl::forms {

std::unique_ptr<NativeWindow> MakeNativeWindow(const WindowLayout& layout, EventRouter& router) {
    return std::make_unique<QtWindow>(layout, router);
}

}  // namespace tsrl::forms
