// What a form does the same on every backend: it builds the controls, places and shows the
// window, fits its font and sounds its alerts; its backend hands the native events to the
// router.
#include "form.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "native_window.h"

namespace tsrl::forms {
namespace {

constexpr double kFontStepPoints = 0.25;
constexpr double kSmallestFontPoints = 5.0;

}  // namespace

Form::Form(const WindowLayout& layout)
    : layout_(layout),
      native_(MakeNativeWindow(layout)),
      editing_(layout, *native_),
      announcements_(layout, *native_),
      router_(layout, *native_, editing_, announcements_) {
    native_->Attach(router_, editing_);
    for (ControlId id = 0; id < layout.controls.size(); ++id) {
        const ControlLayout& c = layout.controls[id];
        NativeControl* handle = native_->Create(id, c, PlaceOf(c, native_->PixelsPerInch()));
        // Where a label and a box overlap, the box is on top.
        if (c.kind == ControlKind::Label) {
            native_->Lower(id);
        }
        native_->SetAccessibleText(id, c.accessibleName, c.description);
        if (c.font) {
            native_->SetFont(id, *c.font);
        }
        switch (c.kind) {
            case ControlKind::TextBox:
                controls_.push_back(std::make_unique<TextBox>(*this, c, handle));
                break;
            case ControlKind::CommandButton:
                controls_.push_back(std::make_unique<CommandButton>(*this, c, handle));
                break;
            case ControlKind::Label:
                controls_.push_back(std::make_unique<Label>(*this, c, handle));
                break;
        }
    }
    FitFont();
}

// The face the layout names comes first: its size steps down only until every box's widest
// text fits on one line, so that no digit is cut off where that face is wider. A box that face
// fits at no size (a bitmap face comes in a few sizes only) takes the layout's scalable face,
// and leaves the other boxes and the buttons their size.
void Form::FitFont() {
    // Each width asked of the backend makes a font, and the boxes of a column share their widest
    // text: each face, size and text is measured once.
    std::map<std::tuple<std::string_view, double, bool, std::u16string_view>, double> measured;
    const auto widthOf = [&](const Font& font, std::u16string_view text) {
        const auto key = std::tuple{font.family, font.points, font.bold, text};
        auto known = measured.find(key);
        if (known == measured.end()) {
            known = measured.emplace(key, native_->TextWidth(font, text)).first;
        }
        return known->second;
    };
    const auto largestFitting = [&](Font font, ControlId id) -> std::optional<Font> {
        const ControlLayout& c = layout_.controls[id];
        if (c.widestText.empty()) {
            return font;
        }
        // A single-line box keeps a pixel of its line for the caret.
        const double lineWidth = native_->LineWidth(id) - (c.multiLine ? 0 : kCaretPixels);
        for (; font.points >= kSmallestFontPoints; font.points -= kFontStepPoints) {
            if (widthOf(font, c.widestText) <= lineWidth) {
                return font;
            }
        }
        return std::nullopt;
    };
    Font window = layout_.font;
    std::vector<ControlId> unfitted;
    for (ControlId id = 0; id < layout_.controls.size(); ++id) {
        if (const std::optional<Font> fitted = largestFitting(layout_.font, id)) {
            window.points = std::min(window.points, fitted->points);
        } else {
            unfitted.push_back(id);
        }
    }
    // The unfitted boxes' own faces first, so that the window's never reaches them on the way.
    for (const ControlId id : unfitted) {
        const Font scalable{layout_.scalableFamily, layout_.font.points, layout_.font.bold};
        native_->SetFont(id,
                         largestFitting(scalable, id)
                             .value_or(Font{scalable.family, kSmallestFontPoints, scalable.bold}));
    }
    native_->SetFont(std::nullopt, window);
}

// Twips to the backend's pixels and back, at its pixels per inch.
int Form::ToPixels(float twips) const {
    return TwipsToPixels(twips, native_->PixelsPerInch());
}

float Form::ToTwips(int pixels) const {
    return static_cast<float>(PixelsToTwips(pixels, native_->PixelsPerInch()));
}

float Form::Width() const {
    return ToTwips(native_->Frame().width);
}

float Form::Height() const {
    return ToTwips(native_->Frame().height);
}

void Form::SetLeft(float left) {
    native_->MoveFrame(ToPixels(left), native_->Frame().top);
}

void Form::SetTop(float top) {
    native_->MoveFrame(native_->Frame().left, ToPixels(top));
}

float Form::ScreenWidth() const {
    return ToTwips(native_->Screen().width);
}

float Form::ScreenHeight() const {
    return ToTwips(native_->Screen().height);
}

void Form::Beep() {
    announcements_.Alerted();
    native_->Beep();
}

void Form::SetAccessibleText(std::string_view name, std::string_view description) {
    native_->SetAccessibleText(std::nullopt, name, description);
}

void Form::Load() {
    router_.Load();
}

void Form::Show() {
    // A window placed off a screen smaller than itself would have its title bar out of reach.
    const PixelRect frame = native_->Frame();
    const PixelRect work = native_->WorkArea();
    const int left = std::max(frame.left, work.left);
    const int top = std::max(frame.top, work.top);
    if (left != frame.left || top != frame.top) {
        native_->MoveFrame(left, top);
    }
    native_->Show(router_.FirstInTabOrder());
}

int Form::Run() {
    Load();
    Show();
    return native_->RunLoop();
}

NativeControl* Form::Native() const {
    return native_->Handle();
}

Control* Form::Find(std::string_view name) const {
    const std::optional<ControlId> id = FindControl(layout_, name);
    return id ? controls_[*id].get() : nullptr;
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
    router_.Connect(name, event, std::move(procedure));
}

void Form::ConnectKeyPress(std::string_view name, KeyProcedure procedure) {
    router_.ConnectKeyPress(name, std::move(procedure));
}

Control* Form::FocusedControl() const {
    const std::optional<ControlId> id = router_.Focused();
    return id ? controls_[*id].get() : nullptr;
}

void Control::SetFocus() {
    form_.router_.SetFocus(form_.IdOf(*this));
}

std::u16string TextBox::Text() const {
    return form_.native_->Text(form_.IdOf(*this));
}

void TextBox::SetText(std::u16string_view text) {
    form_.router_.SetText(form_.IdOf(*this), text);
}

void TextBox::SetSelStart(int start) {
    const ControlId id = form_.IdOf(*this);
    const int clamped = std::clamp(start, 0, form_.native_->Length(id));
    form_.native_->Select(id, clamped, clamped);
}

void TextBox::SetSelLength(int length) {
    const ControlId id = form_.IdOf(*this);
    const int start = form_.native_->Selection(id).first;
    form_.native_->Select(
        id, start, std::clamp(start + std::max(length, 0), start, form_.native_->Length(id)));
}

int TextBox::SelStart() const {
    return form_.native_->Selection(form_.IdOf(*this)).first;
}

int TextBox::SelLength() const {
    const auto [start, end] = form_.native_->Selection(form_.IdOf(*this));
    return end - start;
}

bool CommandButton::Enabled() const {
    return form_.native_->Enabled(form_.IdOf(*this));
}

void CommandButton::SetEnabled(bool enabled) {
    form_.router_.SetEnabled(form_.IdOf(*this), enabled);
}

}  // namespace tsrl::forms
