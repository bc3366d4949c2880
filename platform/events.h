// What the window's procedures, the engine's rules and the backends share: the events a
// procedure is connected to, the procedures' shapes, and a control by its place in the layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tsrl::forms {

enum class Event { Load, Click, GotFocus, LostFocus, KeyPress, Change };

using Procedure = std::function<void()>;
// KeyAscii by reference: set it to 0 to discard the key, or to another code to replace it.
using KeyProcedure = std::function<void(std::int16_t& KeyAscii)>;

// The character a key press reports for Enter.
inline constexpr char16_t kEnterKey = 13;

// A control by its place in the window's layout table.
using ControlId = std::size_t;

}  // namespace tsrl::forms
