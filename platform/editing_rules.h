// How a box is edited by pointer, clipboard, drop and assistive tool, the same on every backend:
// what a press does, when a held press becomes a drag, what a paste, a drop or an assistive edit
// inserts, and where a box's undo history begins. A typing box's text changes only while it
// holds the focus, so that its LostFocus judges every change. The backends make the native calls
// these rules ask for, with their platform's own drag distance.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "events.h"
#include "layout.h"

namespace tsrl::forms {

class NativeWindow;

enum class Button { Primary, Secondary, Middle };

// How a control came by the focus: by the user's navigation or the program's move, by a pointer
// press that the control has not seen yet, or sent back by the LostFocus of the box it had left.
enum class FocusCause { Moved, Pointer, SentBack };

struct Point {
    int x = 0;
    int y = 0;
};

// What the backend does with a pointer press into a control, once the press has given it the
// focus. Hold: the press goes no further, so the selection its GotFocus made stays.
enum class PressOutcome { Pass, ClearSelectionAndPass, Hold };
// What the backend does with a pointer move: a drag from a held press first replays the press
// where it was, with the selection cleared, so that it selects from there as an unheld press
// would.
struct MoveOutcome {
    bool swallow = false;
    std::optional<Point> replayPressAt = std::nullopt;
};

enum class Insertion { Paste, Drop, Assistive };
struct Inserted {
    std::u16string text;
    // In place of the selection; otherwise where the insertion points (a drop's point, an
    // assistive tool's range).
    bool atSelection;
};

class EditingRules {
  public:
    EditingRules(const WindowLayout& layout, NativeWindow& native);

    // An unlocked text box: one whose text the user changes.
    bool IsTypingBox(ControlId id) const;
    // Whether a press of any button gives the control the focus before Press judges it, as a
    // left click does: the LostFocus of the box left runs, with its error path, before a menu
    // can open. A backend whose native controls do not take the focus so gives it itself.
    bool PressTakesFocus(ControlId id) const;
    // Whether the control's menu may open: a box's only while it has the focus, which the press
    // gave it unless the LostFocus of the box left sent the focus back.
    bool TakesEditing(ControlId id) const;

    // Told by the focus protocol: the control whose GotFocus ran last, and none.
    void FocusGained(ControlId id, FocusCause cause);
    void FocusLost();

    PressOutcome Press(ControlId id, Button button, bool extending, Point at);
    // A move over a control; threshold: how far, on either axis, the platform lets the pointer
    // go before a press becomes a drag.
    MoveOutcome Move(ControlId id, Point at, bool primaryHeld, Point threshold);
    // Whether the release goes no further: that of a held press never replayed.
    bool Release(ControlId id, Button button);

    // What an insertion puts into the control, however it came; nothing where its whole effect
    // is refused.
    std::optional<Inserted> Insert(ControlId id, std::u16string_view text, Insertion how) const;

    // Every write of the program starts the box's undo history afresh, changed or not, so that an
    // undo never brings back a text from before the value was rewritten or confirmed.
    void Written(ControlId id);

  private:
    const ControlLayout& Layout(ControlId id) const { return layout_.controls[id]; }

    const WindowLayout& layout_;
    NativeWindow& native_;
    std::optional<ControlId> focused_;
    std::optional<ControlId> pointerFocused_;  // its focus came with a press not yet seen
    std::optional<ControlId> unclicked_;       // pressed on by no one since its focus came
    struct HeldPress {
        ControlId box;
        Point at;
        bool replayed;  // a drag followed, and the press was let through to start it
    };
    std::optional<HeldPress> held_;
};

}  // namespace tsrl::forms
