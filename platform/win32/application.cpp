#include "application.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "form.h"

// The application object holds no toolkit state on this backend, only the thread's COM
// apartment, through which the controls' accessible names are set.
class QApplication {
  public:
    QApplication() : apartment_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    QApplication(const QApplication&) = delete;
    QApplication& operator=(const QApplication&) = delete;
    ~QApplication() {
        if (apartment_) {
            CoUninitialize();
        }
    }

  private:
    bool apartment_;
};

namespace tsrl::forms {

bool GraphicalSessionAvailable() {
    return true;
}

Application::Application(int& /*argc*/, char** /*argv*/) : app_(std::make_unique<QApplication>()) {
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
