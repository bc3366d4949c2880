// The Windows program: the same window on the Win32 backend of the forms engine.
#include "accessibility.h"
#include "application.h"
#include "form1.h"
#include "native_form.h"
#include "tsrl_version.h"

int main(int argc, char** argv) {
    tsrl::forms::Application application(argc, argv);
    tsrl::Form1 form;
    // A screen reader names the window by the product, not by its caption's version tag.
    tsrl::forms::SetAccessibleText(tsrl::forms::HandleOf(form.Window().Widget()),
                                   tsrl::version::kProductName, tsrl::version::kFileDescription);
    return application.Run(form.Window());
}
