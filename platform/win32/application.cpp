#include "application.h"

#include <windows.h>

#include <commctrl.h>

#include "form.h"

// The application object holds no toolkit state on this backend.
class QApplication {};

namespace tsrl::forms {

bool GraphicalSessionAvailable() {
    return true;
}

Application::Application(int& /*argc*/, char** /*argv*/) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

Application::~Application() = default;

int Application::Run(Form& form) {
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
