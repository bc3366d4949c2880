// The rules of the forms engine, written once for every backend. A backend creates the native
// controls, translates their events into the calls below and does what the router asks of it
// through NativeControls; which procedure runs, when, and what happens to the focus and to a
// key is decided here. No toolkit header is needed.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "events.h"
#include "layout.h"

namespace tsrl::forms {

// What the rules ask of the native controls.
class NativeControls {
  public:
    // Enabled and visible; labels never take the focus and are not asked.
    virtual bool CanTakeFocus(ControlId id) const = 0;
    virtual bool HasFocus(ControlId id) const = 0;
    // Moves the native focus now; the backend reports the FocusOut and FocusIn that follow.
    virtual void Focus(ControlId id) = 0;
    // Calls FinishFocusChange once the native focus change under way is over.
    virtual void FinishFocusChangeLater() = 0;
    // Types a key into a box as the user would have; it reaches Key again, which lets it pass.
    virtual void Type(ControlId id, char16_t key) = 0;
    virtual std::u16string Text(ControlId id) const = 0;
    // Sets the native text; the change notifications it sends are the write's own.
    virtual void ReplaceText(ControlId id, std::u16string_view text) = 0;
    // A box's selection, in UTF-16 code units within its text, start <= end.
    virtual void Select(ControlId id, int start, int end) = 0;
    virtual void SetEnabled(ControlId id, bool enabled) = 0;
    // Whether the system offers a way to speak a text to a screen reader; Announce is called
    // only where it does.
    virtual bool CanAnnounce() const = 0;
    virtual void Announce(std::u16string_view text) = 0;

  protected:
    NativeControls() = default;
    NativeControls(const NativeControls&) = default;
    NativeControls& operator=(const NativeControls&) = default;
    ~NativeControls() = default;
};

// What the backend does with a key after the router has seen it.
enum class KeyOutcome { Pass, Swallow };

// What the backend does with a pointer press into a control, once the press has given it the
// focus. FocusOnly: the press goes no further, so the selection its GotFocus made stays; a drag
// that follows replays it, and selects from where it began. A context menu after a press of the
// other button opens only where TakesEditing.
enum class PressOutcome { Pass, ClearSelectionAndPass, FocusOnly };

class EventRouter {
  public:
    EventRouter(const WindowLayout& layout, NativeControls& native);

    // A control of the layout, or the window itself by its name for Load.
    std::optional<ControlId> Find(std::string_view name) const;
    ControlId IdOf(const ControlLayout& control) const {
        return static_cast<ControlId>(&control - layout_.controls.data());
    }
    void Connect(std::string_view name, Event event, Procedure procedure);
    void ConnectKeyPress(std::string_view name, KeyProcedure procedure);

    void Load();
    // The control that takes the focus when the window first shows.
    std::optional<ControlId> FirstInTabOrder() const;
    // The control whose GotFocus ran last and whose LostFocus has not run yet.
    std::optional<ControlId> Focused() const { return focused_; }

    // Native events, translated by the backend.
    // byPointer: the focus came with a pointer press that the control has not seen yet.
    void FocusIn(ControlId id, bool byPointer = false);
    // leavesWindow: another window or a popup took the focus for a while; not a LostFocus.
    void FocusOut(ControlId id, bool leavesWindow = false);
    void FinishFocusChange();
    // A character typed into a control; Enter is kEnterKey. Tab is not a key: see Tab.
    KeyOutcome Key(ControlId id, char16_t key);
    void Tab(ControlId from, bool backwards);
    void Clicked(ControlId id);
    void UserEdit(ControlId id);
    // A press of the primary button or of another; extending: the press extends a selection.
    // The backend gives the focus first (FocusIn byPointer), as the toolkit does.
    PressOutcome Press(ControlId id, bool primary, bool extending);
    // Whether a press of either button gives the control the focus before Press judges it, as a
    // left click does: the LostFocus of the box left runs, with its error path, before a menu can
    // open. A backend whose native controls do not take the focus so gives it itself.
    bool PressTakesFocus(ControlId id) const { return Layout(id).kind == ControlKind::TextBox; }
    // Whether a paste, a drop or a context menu may reach the control.
    bool TakesEditing(ControlId id) const;
    // An unlocked text box: one whose text the user changes.
    bool IsTypingBox(ControlId id) const;
    // What a paste, a drop or a middle click inserts into the control, whichever way it came,
    // or nothing where the control takes none: its whole effect is refused.
    std::optional<std::u16string> Pasted(ControlId id, std::u16string_view text) const;
    // Nothing runs once the window is closing.
    void Close() { closing_ = true; }

    // The program's own requests.
    void SetFocus(ControlId id);
    void SetText(ControlId id, std::u16string_view text);
    // A control that holds or is taking the focus hands it on, by tab order, when disabled.
    void SetEnabled(ControlId id, bool enabled);
    // The alert sounded; what the procedures then wrote is announced as a report.
    void Alerted() { ++alerts_; }
    int Alerts() const { return alerts_; }

  private:
    std::string_view OwnName(std::string_view name) const;
    void Raise(std::string_view name, Event event);
    void AnnounceWrites();
    void MoveFocus(ControlId id);
    std::optional<ControlId> NextInTabOrder(ControlId from, bool backwards) const;
    const ControlLayout& Layout(ControlId id) const { return layout_.controls[id]; }

    const WindowLayout& layout_;
    NativeControls& native_;
    std::vector<ControlId> tabOrder_;  // every control but the labels, by tab index
    std::map<std::pair<std::string_view, Event>, Procedure> procedures_;
    std::map<std::string_view, KeyProcedure> keyProcedures_;

    std::optional<ControlId> focused_;
    std::optional<ControlId> pendingFocus_;    // asked for during a LostFocus
    std::optional<ControlId> pointerFocused_;  // its focus came with a press not yet seen
    std::optional<ControlId> unclicked_;       // pressed on by no one since its focus came
    int depth_ = 0;                            // procedures running, one inside another
    int changeDepth_ = 0;                      // of them, Change procedures
    int alerts_ = 0;
    // Boxes the procedures of a user's event wrote themselves (not through a Change), the alerts
    // before them, and where they sent the focus; no alert count outside such an event.
    std::optional<int> beepsBefore_;
    std::vector<ControlId> written_;
    std::optional<ControlId> focusSent_;
    int lostFocusDepth_ = 0;
    int writeDepth_ = 0;
    bool replayingKey_ = false;
    bool closing_ = false;
};

}  // namespace tsrl::forms
