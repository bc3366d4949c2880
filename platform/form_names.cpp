// A form's controls looked up by name, the same on every backend; each backend keeps its own
// Find over the controls it made.
#include <stdexcept>

#include "form.h"

namespace tsrl::forms {

TextBox& Form::TextBoxNamed(std::string_view name) const {
    auto* box = dynamic_cast<TextBox*>(Find(name));
    if (box == nullptr) {
        throw std::logic_error("no text box of that name");
    }
    return *box;
}

CommandButton& Form::ButtonNamed(std::string_view name) const {
    auto* button = dynamic_cast<CommandButton*>(Find(name));
    if (button == nullptr) {
        throw std::logic_error("no button of that name");
    }
    return *button;
}

}  // namespace tsrl::forms
