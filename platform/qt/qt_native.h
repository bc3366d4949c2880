// The Qt widgets behind a form's opaque native handles, for code that drives them itself.
#pragma once

#include "controls.h"
#include "form.h"

class QWidget;

namespace tsrl::forms {

inline NativeControl* AsNative(QWidget* widget) {
    return reinterpret_cast<NativeControl*>(widget);
}
inline QWidget* WidgetOf(const Control& control) {
    return reinterpret_cast<QWidget*>(control.Native());
}
inline QWidget* WidgetOf(const Form& form) {
    return reinterpret_cast<QWidget*>(form.Native());
}

}  // namespace tsrl::forms
