#include <iostream>

#include "application.h"
#include "form1.h"

int main(int argc, char** argv) {
    if (!tsrl::forms::GraphicalSessionAvailable()) {
        std::cerr << "tessoral: a graphical session is needed to open the calculator window\n";
        return 1;
    }
    tsrl::forms::Application application(argc, argv);
    tsrl::Form1 form;
    return application.Run(form.Window());
}
