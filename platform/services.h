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

// A failure no procedure trapped, absorbed at the engine's boundary: counted by its type, so
// that tests can tell which failures get that far.
void CountSwallowed(std::type_index kind);
int SwallowedCount(std::type_index kind);
int SwallowedCount();

}  // namespace tsrl::forms
