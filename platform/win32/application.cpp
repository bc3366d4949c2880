#include "application.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "accessibility.h"
#include "form.h"
#include "native_form.h"

namespace tsrl::forms {

// No toolkit state on this backend, only the thread's COM apartment, through which the controls'
// accessible names are set, and the identity the window is named by.
struct Application::State {
    explicit State(const Identity& named)
        : identity(named),
          apartment(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (apartment) {
            CoUninitialize();
        }
    }

    Identity identity;
    bool apartment;
};

Application::Application(int& /*argc*/, char** /*argv*/, const Identity& identity)
    : state_(std::make_unique<State>(identity)) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

Application::~Application() = default;

int Application::Run(Form& form) {
    // A screen reader names the window by the product, not by its caption's version tag.
    SetAccessibleText(HandleOf(form), state_->identity.productName, state_->identity.description);
    form.Load();
    form.Show();
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tsrl::forms
