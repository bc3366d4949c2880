// What a form and its controls do the same on every backend, through the rules the backend
// feeds (Rules) and the controls it made (ControlAt).
#include "form.h"

#include <algorithm>
#include <stdexcept>

#include "event_router.h"

namespace tsrl::forms {

Control* Form::Find(std::string_view name) const {
    const std::optional<ControlId> id = Rules().Find(name);
    return id ? &ControlAt(*id) : nullptr;
}

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

void Form::Connect(std::string_view name, Event event, Procedure procedure) {
    Rules().Connect(name, event, std::move(procedure));
}

void Form::ConnectKeyPress(std::string_view name, KeyProcedure procedure) {
    Rules().ConnectKeyPress(name, std::move(procedure));
}

void Form::Load() {
    Rules().Load();
}

Control* Form::FocusedControl() const {
    const std::optional<ControlId> id = Rules().Focused();
    return id ? &ControlAt(*id) : nullptr;
}

void Form::RequestFocus(const Control& control) {
    Rules().SetFocus(Rules().IdOf(control.Layout()));
}

void Form::WriteText(const TextBox& box, std::u16string_view text) {
    Rules().SetText(Rules().IdOf(box.Layout()), text);
}

void Control::SetFocus() {
    form_.RequestFocus(*this);
}

void TextBox::SetText(std::u16string_view text) {
    form_.WriteText(*this, text);
}

void TextBox::SetSelStart(int start) {
    const int clamped = std::clamp(start, 0, Length());
    Select(clamped, clamped);
}

void TextBox::SetSelLength(int length) {
    const int start = Selection().first;
    Select(start, std::clamp(start + std::max(length, 0), start, Length()));
}

int TextBox::SelStart() const {
    return Selection().first;
}

int TextBox::SelLength() const {
    const auto [start, end] = Selection();
    return end - start;
}

}  // namespace tsrl::forms
