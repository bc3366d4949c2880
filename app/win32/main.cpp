// The Windows program: the same window on the Win32 backend of the forms engine.
#include "application.h"
#include "form1.h"

int main(int argc, char** argv) {
    tsrl::forms::Application application(argc, argv);
    tsrl::Form1 form;
    return application.Run(form.Window());
}
