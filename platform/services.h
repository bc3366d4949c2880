// Runtime services a window procedure may call: the screen's size and the alert sound.
#pragma once

#include <typeindex>

namespace tsrl::forms {

struct Screen {
    // In twips.
    static float Width();
    static float Height();
};

// The short alert sound; returns at once. Counted, so that tests can hear it.
void Beep();
int BeepCount();

// Failures no procedure trapped, absorbed at the engine's boundary (boundary.h), by their type,
// so that tests can tell which failures get that far.
int SwallowedCount(std::type_index kind);
int SwallowedCount();

}  // namespace tsrl::forms
