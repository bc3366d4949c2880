// The toolkit's half of the window tests: user input as the system would deliver it, and the
// few things the engine's public API cannot tell (which native control holds the focus, where
// the window is). One implementation per backend; the fixture and the tables use only this.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "controls.h"
#include "pixels.h"

namespace tsrl::testing {

// clang-format off
enum class Keys {
    Tab, Return, KeypadEnter, Space, Backspace, Delete, Insert, Home, End, Left, Right, Escape,
    F10, Menu,
    A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z
};
// clang-format on

using Modifiers = unsigned;
inline constexpr Modifiers kNoModifier = 0;
inline constexpr Modifiers kShift = 1;
inline constexpr Modifiers kCtrl = 2;

// In pixels.
using Rect = forms::PixelRect;

namespace driver {

// At the control's centre: a left click, a right click (closing any menu it opens), or a left
// press dragged out past the left edge.
enum class Pointer { Click, RightClick, DragLeft };
void Click(const forms::Control& control, Pointer how = Pointer::Click);
// Texts in UTF-8, typed or pasted where the focus is. A key that opens a menu (the Menu key,
// Shift+F10) closes it again.
void Type(std::string_view text);
void Press(Keys key, Modifiers modifiers);
void Paste(std::string_view text);

// What else a user or an assistive tool does to a control, with a text where it takes one.
// A menu item is chosen where the control's menu, opened by a right click, has it enabled; a
// Paste's text goes to the clipboard first. An assistive tool sets or inserts the text of an
// editable box, presses a button and gives the focus to a control that takes it.
// clang-format off
enum class Gesture {
    DoubleClick, TripleClick, MiddleClick,
    Undo, Redo, Cut, Copy, Paste, Delete, SelectAll,  // in the control's own menu
    Drop,                                             // from another program
    SetText, InsertText, Press, GrabFocus,            // an assistive tool's
};
// clang-format on
// Whether the backend has the gesture at all.
bool Has(Gesture gesture);
void Perform(Gesture gesture, const forms::Control& control, std::string_view text = {});

// What the window told the system since the last call: how often the focus moved, and the
// announcements a screen reader was given, in UTF-8. The first call starts listening.
struct Heard {
    int focusMoves = 0;
    std::vector<std::string> announcements;
};
Heard Listen();
// Runs what the input set off, until nothing is pending.
void ProcessEvents();

// The alert sounds the program asked the system for since the tests began, counted in the
// driver's place of the system's call, so that the tests run silent.
int Beeps();

bool HoldsNativeFocus(const forms::Control& control);
// Whether the control, as drawn now, shows any pixel in the system's selection colour.
bool ShowsSelection(const forms::Control& control);
// The window of a control: active at last, its outer frame, and the screens it may be on.
bool WaitUntilActive(const forms::Control& control);
Rect WindowFrame(const forms::Control& control);
Rect WholeScreen();
Rect WorkArea();

std::string Utf8(std::u16string_view text);

}  // namespace driver
}  // namespace tsrl::testing
