// The Qt widget behind a control, for the Qt driver and the tests of what only Qt shows.
#pragma once

#include <QWidget>

#include "controls.h"

namespace tsrl::testing {

// The one place that reaches from the engine's controls to their widgets.
inline QWidget* WidgetOf(const forms::Control& control) {
    return control.Widget();
}

}  // namespace tsrl::testing
