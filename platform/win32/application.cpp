#include "application.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "accessibility.h"
#include "form.h"
#include "win32_native.h"

namespace tsrl::forms {

// No toolkit state on this backend, only the thread's COM apartment, through which the controls'
// accessible names are set.
struct Application::State {
    State() : apartment(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (apartment) {
            CoUninitialize();
        }
    }

    bool apartment;
};

Application::Application(int& /*argc*/, char** /*argv*/, const Identity& identity)
    : identity_(identity), state_(std::make_unique<State>()) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

Application::~Application() = default;

}  // namespace tsrl::forms
