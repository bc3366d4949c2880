// Runtime services a window procedure may call: the screen's size and the alert sound.
#pragma once

namespace tsrl::forms {

struct Screen {
    // In twips.
    static float Width();
    static float Height();
};

// The short alert sound; returns at once. Counted, so that tests can hear it.
void Beep();
int BeepCount();

}  // namespace tsrl::forms
