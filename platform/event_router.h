// The rules of the forms engine, written once for every backend: which procedure runs, when,
// and what happens to the focus and to a key. A backend translates its native events into the
// calls below; the router asks the native window for what it needs. No toolkit header is needed.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "events.h"
#include "layout.h"
#include "tab_order.h"

namespace tsrl::forms {

class Announcements;
class EditingRules;
class NativeWindow;

// What the backend does with a key after the router has seen it.
enum class KeyOutcome { Pass, Swallow };

class EventRouter {
  public:
    EventRouter(const WindowLayout& layout, NativeWindow& native, EditingRules& editing,
                Announcements& announcements);

    ControlId IdOf(const ControlLayout& control) const {
        return static_cast<ControlId>(&control - layout_.controls.data());
    }
    // To an event of a control, or to Load of the window, by its name.
    void Connect(std::string_view name, Event event, Procedure procedure);
    void ConnectKeyPress(std::string_view name, KeyProcedure procedure);

    void Load();
    // The control that takes the focus when the window first shows.
    std::optional<ControlId> FirstInTabOrder() const { return tabOrder_.First(); }
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
    // Nothing runs once the window is closing.
    void Close() { closing_ = true; }

    // The program's own requests.
    void SetFocus(ControlId id);
    void SetText(ControlId id, std::u16string_view text);
    // A control that holds or is taking the focus hands it back, when disabled, to the box
    // being left, or else on by tab order.
    void SetEnabled(ControlId id, bool enabled);

  private:
    std::string_view OwnName(std::string_view name) const;
    void Raise(std::string_view name, Event event);
    void MoveFocus(ControlId id);
    const ControlLayout& Layout(ControlId id) const { return layout_.controls[id]; }

    const WindowLayout& layout_;
    NativeWindow& native_;
    EditingRules& editing_;
    Announcements& announcements_;
    TabOrder tabOrder_;
    std::map<std::pair<std::string_view, Event>, Procedure> procedures_;
    std::map<std::string_view, KeyProcedure> keyProcedures_;

    std::optional<ControlId> focused_;
    std::optional<ControlId> pendingFocus_;  // asked for during a LostFocus
    std::optional<ControlId> leaving_;       // the control whose LostFocus runs
    std::optional<ControlId> sentBack_;      // the box its own LostFocus sent the focus back to
    int depth_ = 0;                          // procedures running, one inside another
    int changeDepth_ = 0;                    // of them, Change procedures
    int writeDepth_ = 0;
    bool replayingKey_ = false;
    bool closing_ = false;
};

}  // namespace tsrl::forms
