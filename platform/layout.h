// The form description: a window and its controls as data, in twips. The engine creates the
// widgets from it; nothing else places a control.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tsrl::forms {

// 1/1440 inch; 15 to the logical pixel, which each backend maps to the device's DPI.
using Twips = int;
inline constexpr int kTwipsPerPixel = 15;

enum class ControlKind { TextBox, CommandButton, Label };

enum class Align { Left, Center, Right };

// The window's icon: the system's default, or the program's own (Identity::icon, or on Windows
// the program file's icon).
enum class WindowIcon { Default, Program };

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

struct Font {
    std::string_view family;
    double points;
    bool bold;
};

// When a screen reader hears a box's new text, besides reading the box when it takes the focus:
// whenever an event procedure writes the box itself (not through another box's Change), or only
// when that procedure also sounds the alert.
enum class Announce { Never, OnWrite, OnAlert };

struct ControlLayout {
    ControlKind kind;
    std::string_view name;
    std::u16string_view text;  // a box's initial text, or a button's or label's caption
    Twips left;
    Twips top;
    Twips width;
    Twips height;
    int tabIndex;
    std::string_view accessibleName;
    // Text boxes only.
    bool locked = false;
    bool multiLine = false;
    Align align = Align::Left;
    std::optional<Rgb> background = std::nullopt;
    std::optional<Rgb> foreground = std::nullopt;
    // The widest text the box must show on one line; the window's font is made to fit it.
    std::u16string_view widestText = {};
    // Labels only; other controls use the window's font.
    std::optional<Font> font = std::nullopt;
    // What a screen reader says after the name: a button's purpose.
    std::string_view description = {};
    Announce announce = Announce::Never;
};

struct WindowLayout {
    std::string_view name;
    std::u16string_view caption;
    Twips clientWidth;
    Twips clientHeight;
    Twips clientLeft;  // stored position of the client area on the screen
    Twips clientTop;
    WindowIcon icon;
    std::span<const ControlLayout> controls;
    // The boxes' and buttons' font, stepped down only as far as the widest texts need; the
    // standard dialog font unless the window names another.
    Font font = {"MS Sans Serif", 8.25, false};
    // For a box that no size of the face above fits: a face made in every size.
    std::string_view scalableFamily = "Arial";
};

// A control by its name: its place in the layout's table.
inline std::optional<std::size_t> FindControl(const WindowLayout& layout, std::string_view name) {
    auto it = std::ranges::find(layout.controls, name, &ControlLayout::name);
    if (it == layout.controls.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - layout.controls.begin());
}

}  // namespace tsrl::forms
