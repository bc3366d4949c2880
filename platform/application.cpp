#include "application.h"

#include "form.h"

namespace tsrl::forms {

int Application::Run(Form& form) {
    // A screen reader names the window by the product, not by its caption's version tag.
    form.SetAccessibleText(identity_.productName, identity_.description);
    return form.Run();
}

}  // namespace tsrl::forms
