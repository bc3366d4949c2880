#include "editing_rules.h"

#include <cstdlib>
#include <utility>

#include "native_window.h"
#include "pasted_text.h"

namespace tsrl::forms {

EditingRules::EditingRules(const WindowLayout& layout, NativeWindow& native)
    : layout_(layout), native_(native) {}

bool EditingRules::IsTypingBox(ControlId id) const {
    return Layout(id).kind == ControlKind::TextBox && !Layout(id).locked;
}

bool EditingRules::PressTakesFocus(ControlId id) const {
    return Layout(id).kind == ControlKind::TextBox;
}

bool EditingRules::TakesEditing(ControlId id) const {
    return Layout(id).kind != ControlKind::TextBox || focused_ == id;
}

// The first press into a box the user tabbed or entered into keeps the selection its GotFocus
// made, so that typing replaces the text; a box the focus was sent back to after a rejection
// lets that press place the caret, so that the typo can be mended.
void EditingRules::FocusGained(ControlId id, FocusCause cause) {
    focused_ = id;
    pointerFocused_ = cause == FocusCause::Pointer ? std::optional(id) : std::nullopt;
    unclicked_ = cause == FocusCause::SentBack ? std::nullopt : std::optional(id);
}

void EditingRules::FocusLost() {
    focused_.reset();
}

// A press on selected text would start dragging it out rather than select afresh: in a display
// box a copy is what is wanted, and a drag from there could freeze the window.
PressOutcome EditingRules::Press(ControlId id, Button button, bool extending, Point at) {
    held_.reset();
    const bool primary = button == Button::Primary;
    const PressOutcome afresh =
        primary && !extending ? PressOutcome::ClearSelectionAndPass : PressOutcome::Pass;
    if (!IsTypingBox(id)) {
        return Layout(id).kind == ControlKind::TextBox ? afresh : PressOutcome::Pass;
    }
    // A press into a box that a LostFocus kept from taking the focus still selects there, so
    // that a text can be read from it.
    const bool focusedByThisPress = std::exchange(pointerFocused_, std::nullopt) == id;
    const bool firstPress = unclicked_ == id;
    if (firstPress) {
        unclicked_.reset();
    }
    if (focusedByThisPress || (focused_ != id && !primary) ||
        (firstPress && primary && !extending)) {
        if (primary) {
            held_ = HeldPress{id, at, false};
        }
        return PressOutcome::Hold;
    }
    return afresh;
}

MoveOutcome EditingRules::Move(ControlId id, Point at, bool primaryHeld, Point threshold) {
    if (!held_ || held_->box != id || held_->replayed) {
        return {};
    }
    if (!primaryHeld) {
        held_.reset();
        return {};
    }
    if (std::abs(at.x - held_->at.x) >= threshold.x ||
        std::abs(at.y - held_->at.y) >= threshold.y) {
        held_->replayed = true;
        return {false, held_->at};
    }
    return {true};
}

bool EditingRules::Release(ControlId id, Button button) {
    if (!held_ || held_->box != id || button != Button::Primary) {
        return false;
    }
    return !std::exchange(held_, std::nullopt)->replayed;
}

// A box holds one line. An assistive tool's edit is typing by other means and may delete; a
// paste or a drop of no text at all changes nothing, as in any native box. A drop is a paste by
// the mouse: over a box whose whole text is selected it replaces that text, as a paste would.
std::optional<Inserted> EditingRules::Insert(ControlId id, std::u16string_view text,
                                             Insertion how) const {
    if (!IsTypingBox(id) || !TakesEditing(id)) {
        return std::nullopt;
    }
    std::u16string taken = WithoutLineBreaks(text);
    if (how == Insertion::Assistive) {
        return Inserted{std::move(taken), false};
    }
    if (taken.empty()) {
        return std::nullopt;
    }
    const auto [start, end] = native_.Selection(id);
    const bool wholeSelected = start == 0 && end == native_.Length(id);
    return Inserted{std::move(taken), how == Insertion::Paste || wholeSelected};
}

void EditingRules::Written(ControlId id) {
    native_.ForgetUndo(id);
}

}  // namespace tsrl::forms
