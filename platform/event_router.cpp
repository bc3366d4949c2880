#include "event_router.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "announcements.h"
#include "boundary.h"
#include "editing_rules.h"
#include "native_window.h"

namespace tsrl::forms {
namespace {

// Counts a nesting for as long as it lives, whatever leaves the scope.
class Depth {
  public:
    explicit Depth(int& depth, int by = 1) : depth_(depth), by_(by) { depth_ += by_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
    ~Depth() { depth_ -= by_; }

  private:
    int& depth_;
    int by_;
};

}  // namespace

EventRouter::EventRouter(const WindowLayout& layout, NativeWindow& native, EditingRules& editing,
                         Announcements& announcements)
    : layout_(layout),
      native_(native),
      editing_(editing),
      announcements_(announcements),
      tabOrder_(layout, [&native](ControlId id) { return native.CanTakeFocus(id); }) {}

// Keys point at the names in the layout, which outlives the router, never at the caller's.
std::string_view EventRouter::OwnName(std::string_view name) const {
    if (name == layout_.name) {
        return layout_.name;
    }
    const std::optional<ControlId> id = FindControl(layout_, name);
    if (!id) {
        throw std::logic_error("no control of that name");
    }
    return Layout(*id).name;
}

void EventRouter::Connect(std::string_view name, Event event, Procedure procedure) {
    procedures_[{OwnName(name), event}] = std::move(procedure);
}

void EventRouter::ConnectKeyPress(std::string_view name, KeyProcedure procedure) {
    keyProcedures_[OwnName(name)] = std::move(procedure);
}

void EventRouter::Raise(std::string_view name, Event event) {
    if (closing_) {
        return;
    }
    auto it = procedures_.find({name, event});
    if (it == procedures_.end()) {
        return;
    }
    // What the procedures of one user's event report is announced once they are done.
    const bool outermost = depth_ == 0 && event != Event::Load;
    if (outermost) {
        announcements_.Begin();
    }
    {
        const Depth inProcedure(depth_);
        const Depth inChange(changeDepth_, event == Event::Change ? 1 : 0);
        Guarded(it->second);
    }
    if (outermost) {
        announcements_.End();
    }
}

void EventRouter::Load() {
    Raise(layout_.name, Event::Load);
}

void EventRouter::FocusIn(ControlId id, bool byPointer) {
    // Without a window manager the focus may come back to another control with no FocusOut for
    // the one left: its LostFocus runs first all the same.
    if (focused_ && focused_ != id) {
        FocusOut(*focused_);
    }
    // A move that a LostFocus redirected: GotFocus belongs to where the focus ends.
    if (closing_ || pendingFocus_ || focused_ == id) {
        return;
    }
    focused_ = id;
    const bool sentBack = std::exchange(sentBack_, std::nullopt) == id;
    editing_.FocusGained(id, byPointer  ? FocusCause::Pointer
                             : sentBack ? FocusCause::SentBack
                                        : FocusCause::Moved);
    Raise(Layout(id).name, Event::GotFocus);
}

void EventRouter::FocusOut(ControlId id, bool leavesWindow) {
    // The control keeps the focus while another window or a menu has it.
    if (closing_ || leavesWindow || focused_ != id) {
        return;
    }
    focused_.reset();
    editing_.FocusLost();
    leaving_ = id;
    Raise(Layout(id).name, Event::LostFocus);
    leaving_.reset();
    if (pendingFocus_ == id) {
        sentBack_ = id;
    }
    if (pendingFocus_) {
        native_.FinishFocusChangeLater();
    }
}

// Not while a LostFocus runs: a toolkit may report the focus it moves on its own (from a control
// disabled) in the middle of one, and the box being left is not done with its writes.
void EventRouter::FinishFocusChange() {
    if (leaving_) {
        return;
    }
    if (const std::optional<ControlId> target = std::exchange(pendingFocus_, std::nullopt)) {
        MoveFocus(*target);
    }
}

void EventRouter::MoveFocus(ControlId id) {
    if (native_.HasFocus(id)) {
        FocusIn(id);
    } else {
        native_.Focus(id);
    }
}

void EventRouter::SetFocus(ControlId id) {
    announcements_.FocusSent(id);
    if (leaving_) {
        pendingFocus_ = id;
    } else {
        MoveFocus(id);
    }
}

void EventRouter::Tab(ControlId from, bool backwards) {
    if (closing_) {
        return;
    }
    if (const std::optional<ControlId> next = tabOrder_.Next(from, backwards)) {
        SetFocus(*next);
    }
}

void EventRouter::Clicked(ControlId id) {
    // A click ahead of the FocusIn it brings, into a window that had lost the focus.
    if (focused_ && focused_ != id && !pendingFocus_ && !native_.HasFocus(*focused_) &&
        native_.CanTakeFocus(id)) {
        FocusIn(id);
    }
    // A press whose LostFocus sent the focus back does not click, and neither does a disabled
    // button that a native message clicked anyway.
    if (focused_ == id && native_.CanTakeFocus(id)) {
        Raise(Layout(id).name, Event::Click);
    }
}

KeyOutcome EventRouter::Key(ControlId id, char16_t key) {
    if (closing_) {
        return KeyOutcome::Swallow;
    }
    if (Layout(id).kind == ControlKind::CommandButton) {
        if (key != kEnterKey) {
            return KeyOutcome::Pass;
        }
        Clicked(id);
        return KeyOutcome::Swallow;
    }
    auto it = keyProcedures_.find(Layout(id).name);
    if (replayingKey_ || it == keyProcedures_.end()) {
        return KeyOutcome::Pass;
    }
    auto keyAscii = static_cast<std::int16_t>(key);
    Guarded([&] { it->second(keyAscii); });
    const auto replaced = static_cast<char16_t>(keyAscii);
    if (replaced == key) {
        return KeyOutcome::Pass;
    }
    if (replaced != 0) {
        replayingKey_ = true;
        Guarded([&] { native_.Type(id, replaced); });
        replayingKey_ = false;
    }
    return KeyOutcome::Swallow;
}

void EventRouter::UserEdit(ControlId id) {
    // The notifications of a program write belong to the write, which raises Change itself.
    if (writeDepth_ == 0) {
        Raise(Layout(id).name, Event::Change);
    }
}

void EventRouter::SetText(ControlId id, std::u16string_view text) {
    // Every write, changed or not, is what a screen reader is told of.
    if (changeDepth_ == 0) {
        announcements_.Written(id);
    }
    const bool changes = native_.Text(id) != text;
    if (changes) {
        const Depth inWrite(writeDepth_);
        native_.ReplaceText(id, text);
        // A single-line box scrolls sideways: a long text is shown from its start.
        if (!Layout(id).multiLine) {
            native_.Select(id, 0, 0);
        }
    }
    editing_.Written(id);
    if (changes) {
        Raise(Layout(id).name, Event::Change);
    }
}

// Asked for before the native control is disabled, so that a toolkit that hands the focus on by
// itself, in an order of its own, is overruled. The program never moves the focus to a display
// box: disabled as a LostFocus runs, the control gives the focus back to the box being left.
void EventRouter::SetEnabled(ControlId id, bool enabled) {
    const bool losesFocus =
        !enabled && (focused_ == id || pendingFocus_ == id || native_.HasFocus(id));
    const std::optional<ControlId> next = !losesFocus ? std::nullopt
                                          : leaving_  ? leaving_
                                                      : tabOrder_.Next(id, false);
    if (next) {
        pendingFocus_ = next;
    }
    native_.SetEnabled(id, enabled);
    if (next && !leaving_) {
        FinishFocusChange();
    }
}

}  // namespace tsrl::forms
