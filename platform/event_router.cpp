#include "event_router.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "boundary.h"
#include "pasted_text.h"
#include "spoken_text.h"
#include "utf8.h"

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

EventRouter::EventRouter(const WindowLayout& layout, NativeControls& native)
    : layout_(layout), native_(native) {
    for (ControlId id = 0; id < layout.controls.size(); ++id) {
        if (layout.controls[id].kind != ControlKind::Label) {
            tabOrder_.push_back(id);
        }
    }
    std::ranges::stable_sort(tabOrder_, {}, [&](ControlId id) { return Layout(id).tabIndex; });
}

std::optional<ControlId> EventRouter::Find(std::string_view name) const {
    auto it = std::ranges::find(layout_.controls, name, &ControlLayout::name);
    if (it == layout_.controls.end()) {
        return std::nullopt;
    }
    return static_cast<ControlId>(it - layout_.controls.begin());
}

// Keys point at the names in the layout, which outlives the router, never at the caller's.
std::string_view EventRouter::OwnName(std::string_view name) const {
    if (name == layout_.name) {
        return layout_.name;
    }
    const std::optional<ControlId> id = Find(name);
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
    const bool outermost = depth_ == 0 && event != Event::Load;
    if (outermost) {
        beepsBefore_ = alerts_;
        written_.clear();
        focusSent_.reset();
    }
    const int changes = event == Event::Change ? 1 : 0;
    {
        const Depth inProcedure(depth_);
        const Depth inChange(changeDepth_, changes);
        Guarded(it->second);
    }
    if (outermost) {
        AnnounceWrites();
    }
}

// What the procedures of a user's event reported in the boxes, for a listener who cannot see
// them.
void EventRouter::AnnounceWrites() {
    const bool alerted = alerts_ != *std::exchange(beepsBefore_, std::nullopt);
    std::u16string said;
    const auto say = [&said](std::u16string_view text) {
        said += said.empty() ? u"" : u", ";
        said += SpokenText(text);
    };
    for (const ControlId id : written_) {
        const Announce when = Layout(id).announce;
        if (when == Announce::OnWrite || (when == Announce::OnAlert && alerted)) {
            say(native_.Text(id));
        }
    }
    if (said.empty() || !native_.CanAnnounce()) {
        return;
    }
    // A reader does not present a focus sent back to where it was: name it.
    if (focusSent_) {
        say(FromUtf8(Layout(*focusSent_).accessibleName));
        if (Layout(*focusSent_).kind == ControlKind::TextBox) {
            say(native_.Text(*focusSent_));
        }
    }
    native_.Announce(said);
}

void EventRouter::Load() {
    Raise(layout_.name, Event::Load);
}

std::optional<ControlId> EventRouter::FirstInTabOrder() const {
    auto it =
        std::ranges::find_if(tabOrder_, [&](ControlId id) { return native_.CanTakeFocus(id); });
    return it == tabOrder_.end() ? std::nullopt : std::optional(*it);
}

std::optional<ControlId> EventRouter::NextInTabOrder(ControlId from, bool backwards) const {
    auto at = std::ranges::find(tabOrder_, from);
    if (at == tabOrder_.end()) {
        return FirstInTabOrder();
    }
    const auto size = static_cast<std::ptrdiff_t>(tabOrder_.size());
    const std::ptrdiff_t step = backwards ? size - 1 : 1;  // one back is size - 1 forward
    std::ptrdiff_t index = at - tabOrder_.begin();
    for (std::ptrdiff_t visited = 1; visited < size; ++visited) {
        index = (index + step) % size;
        const ControlId candidate = tabOrder_[static_cast<std::size_t>(index)];
        if (native_.CanTakeFocus(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
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
    pointerFocused_ = byPointer ? std::optional(id) : std::nullopt;
    unclicked_ = id;
    Raise(Layout(id).name, Event::GotFocus);
}

void EventRouter::FocusOut(ControlId id, bool leavesWindow) {
    // The control keeps the focus while another window or a menu has it.
    if (closing_ || leavesWindow || focused_ != id) {
        return;
    }
    focused_.reset();
    {
        const Depth inLostFocus(lostFocusDepth_);
        Raise(Layout(id).name, Event::LostFocus);
    }
    if (pendingFocus_ && lostFocusDepth_ == 0) {
        native_.FinishFocusChangeLater();
    }
}

void EventRouter::FinishFocusChange() {
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
    if (beepsBefore_) {
        focusSent_ = id;
    }
    if (lostFocusDepth_ > 0) {
        pendingFocus_ = id;
    } else {
        MoveFocus(id);
    }
}

void EventRouter::Tab(ControlId from, bool backwards) {
    if (closing_) {
        return;
    }
    if (const std::optional<ControlId> next = NextInTabOrder(from, backwards)) {
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

// A typing box's text changes only while it holds the focus, so that its LostFocus judges every
// change: the press that gives it the focus leaves the selection its GotFocus made, and a box
// without the focus takes no paste, drop or context menu.
bool EventRouter::IsTypingBox(ControlId id) const {
    return Layout(id).kind == ControlKind::TextBox && !Layout(id).locked;
}

PressOutcome EventRouter::Press(ControlId id, bool primary, bool extending) {
    if (!IsTypingBox(id)) {
        return PressOutcome::Pass;
    }
    // A press into a box that a LostFocus kept from taking the focus still selects there, so
    // that a text can be read from it.
    const bool focusedByThisPress = std::exchange(pointerFocused_, std::nullopt) == id;
    // The first click after a Tab, an Enter or the start keeps the selection, as one that
    // brings the focus does.
    const bool firstPress = unclicked_ == id;
    if (firstPress) {
        unclicked_.reset();
    }
    if (focusedByThisPress || (focused_ != id && !primary) ||
        (firstPress && primary && !extending)) {
        return PressOutcome::FocusOnly;
    }
    return primary && !extending ? PressOutcome::ClearSelectionAndPass : PressOutcome::Pass;
}

bool EventRouter::TakesEditing(ControlId id) const {
    return !IsTypingBox(id) || focused_ == id;
}

// A box holds one line; a paste of no text at all changes nothing, as in any native box.
std::optional<std::u16string> EventRouter::Pasted(ControlId id, std::u16string_view text) const {
    if (!IsTypingBox(id) || !TakesEditing(id)) {
        return std::nullopt;
    }
    std::u16string taken = WithoutLineBreaks(text);
    if (taken.empty()) {
        return std::nullopt;
    }
    return taken;
}

void EventRouter::SetText(ControlId id, std::u16string_view text) {
    // Every write, changed or not, is what a screen reader is told of.
    if (beepsBefore_ && changeDepth_ == 0 && std::ranges::find(written_, id) == written_.end()) {
        written_.push_back(id);
    }
    if (native_.Text(id) == text) {
        return;
    }
    {
        const Depth inWrite(writeDepth_);
        native_.ReplaceText(id, text);
        // A single-line box scrolls sideways: a long text is shown from its start.
        if (!Layout(id).multiLine) {
            native_.Select(id, 0, 0);
        }
    }
    Raise(Layout(id).name, Event::Change);
}

void EventRouter::SetEnabled(ControlId id, bool enabled) {
    const bool losesFocus =
        !enabled && (focused_ == id || pendingFocus_ == id || native_.HasFocus(id));
    const std::optional<ControlId> next =
        losesFocus ? NextInTabOrder(id, false) : std::optional<ControlId>();
    // Asked for before the native control is disabled, so that a toolkit that hands the focus on
    // by itself, in an order of its own, is overruled.
    if (next) {
        pendingFocus_ = next;
    }
    native_.SetEnabled(id, enabled);
    if (next && lostFocusDepth_ == 0) {
        FinishFocusChange();
    }
}

}  // namespace tsrl::forms
