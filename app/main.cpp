// The calculator program, the same source on every backend of the forms engine.
#include "application.h"
#include "form1.h"
#include "tsrl_icon.h"
#include "tsrl_version.h"

int main(int argc, char** argv) {
    const tsrl::forms::Identity identity{
        .applicationName = tsrl::version::kApplicationName,
        .version = tsrl::version::kProductVersion,
        .organizationDomain = tsrl::version::kOrganizationDomain,
        .desktopFileName = tsrl::version::kDesktopFileName,
        .productName = tsrl::version::kProductName,
        .description = tsrl::version::kFileDescription,
        .icon = {tsrl::icon::kSide, tsrl::icon::kPixels},
    };
    tsrl::forms::Application application(argc, argv, identity);
    tsrl::Form1 form;
    return application.Run(form.Window());
}
