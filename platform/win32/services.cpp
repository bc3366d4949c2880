#include "services.h"

#include "native_form.h"

namespace tsrl::forms {
namespace {
int beeps = 0;

float ScreenTwips(int metric) {
    return PixelsToTwips(GetSystemMetrics(metric), GetDpiForSystem());
}

BOOL CALLBACK PublishBeeps(HWND window, LPARAM count) {
    SetPropW(window, kBeepCountProperty, reinterpret_cast<HANDLE>(count));
    return TRUE;
}
}  // namespace

// The whole screen, not the work area: the window's placement reads the screen's size.
float Screen::Width() {
    return ScreenTwips(SM_CXSCREEN);
}
float Screen::Height() {
    return ScreenTwips(SM_CYSCREEN);
}

void Beep() {
    ++beeps;
    EnumThreadWindows(GetCurrentThreadId(), PublishBeeps, beeps);
    MessageBeep(MB_OK);
}

int BeepCount() {
    return beeps;
}

}  // namespace tsrl::forms
