// Form1 as data: every control with its place in twips, its tab index and its look.
#include <array>

#include "form1.h"

namespace tsrl {
namespace {

using forms::Align;
using forms::Announce;
using forms::ControlKind;
using forms::ControlLayout;
using forms::Font;
using forms::Rgb;
using forms::WindowIcon;

constexpr Rgb kDisplayBackground{192, 192, 192};
constexpr Rgb kDisplayText{0, 0, 128};
constexpr Font kTitleFont{"Arial", 18.0, true};
constexpr Font kHeadingFont{"MS Sans Serif", 8.25, true};

constexpr int kBoxHeight = 375;

// The widest text the program writes into the boxes of each column; D is the widest hex digit
// in the faces met (Liberation Sans, DejaVu Sans), and wider than any operation's name.
constexpr std::u16string_view kWidestDecimal = u"-2147483648";
constexpr std::u16string_view kWidestHex = u"DDDDDDDD";
constexpr std::u16string_view kWidestBinary = u"00000000000000000000000000000000";

// What every control has; the builders below add what their kind needs.
constexpr ControlLayout Placed(ControlKind kind, std::string_view name, std::u16string_view text,
                               int left, int top, int width, int height, int tabIndex,
                               std::string_view spoken) {
    return {.kind = kind,
            .name = name,
            .text = text,
            .left = left,
            .top = top,
            .width = width,
            .height = height,
            .tabIndex = tabIndex,
            .accessibleName = spoken};
}

constexpr ControlLayout Box(std::string_view name, std::u16string_view text, int left, int top,
                            int width, int tabIndex, std::string_view spoken,
                            std::u16string_view widest) {
    ControlLayout box =
        Placed(ControlKind::TextBox, name, text, left, top, width, kBoxHeight, tabIndex, spoken);
    box.widestText = widest;
    return box;
}

constexpr ControlLayout TypingBox(std::string_view name, std::u16string_view text, int left,
                                  int top, int width, int tabIndex, std::string_view spoken,
                                  std::u16string_view widest) {
    ControlLayout box = Box(name, text, left, top, width, tabIndex, spoken, widest);
    box.multiLine = true;
    box.align = Align::Right;
    return box;
}

constexpr ControlLayout DisplayBox(std::string_view name, std::u16string_view text, int left,
                                   int top, int width, int tabIndex, std::string_view spoken,
                                   std::u16string_view widest, bool multiLine, Align align,
                                   Announce announce) {
    ControlLayout box = Box(name, text, left, top, width, tabIndex, spoken, widest);
    box.locked = true;
    box.announce = announce;
    box.multiLine = multiLine;
    box.align = align;
    box.background = kDisplayBackground;
    box.foreground = kDisplayText;
    return box;
}

constexpr ControlLayout Button(std::string_view name, std::u16string_view caption, int left,
                               int top, int width, int height, int tabIndex,
                               std::string_view spoken, std::string_view purpose) {
    ControlLayout button = Placed(ControlKind::CommandButton, name, caption, left, top, width,
                                  height, tabIndex, spoken);
    button.description = purpose;
    return button;
}

constexpr ControlLayout Heading(std::string_view name, std::u16string_view caption, int left,
                                int top, int width, int height, int tabIndex, Font font) {
    ControlLayout label = Placed(ControlKind::Label, name, caption, left, top, width, height,
                                 tabIndex, std::string_view());
    label.font = font;
    return label;
}

// Labels are spoken by their captions, set below from the same text.
constexpr std::array kControls{
    TypingBox("Text1Dec", u"0", 240, 840, 1095, 1, "Operand 1 decimal", kWidestDecimal),
    TypingBox("Text1Hex", u"", 1560, 840, 975, 3, "Operand 1 hex", kWidestHex),
    DisplayBox("Text1Bin", u"", 2760, 840, 3015, 19, "Operand 1 binary", kWidestBinary, false,
               Align::Left, Announce::OnAlert),
    TypingBox("Text2Dec", u"0", 240, 1440, 1095, 2, "Operand 2 decimal", kWidestDecimal),
    TypingBox("Text2Hex", u"", 1560, 1440, 975, 4, "Operand 2 hex", kWidestHex),
    DisplayBox("Text2Bin", u"", 2760, 1440, 3015, 18, "Operand 2 binary", kWidestBinary, false,
               Align::Left, Announce::OnAlert),
    DisplayBox("Text3Dec", u"0", 240, 2880, 1095, 17, "Result decimal", kWidestDecimal, true,
               Align::Right, Announce::OnWrite),
    DisplayBox("Text3Hex", u"", 1560, 2880, 975, 16, "Result hex", kWidestHex, true, Align::Right,
               Announce::OnWrite),
    DisplayBox("Text3Bin", u"", 2760, 2880, 3015, 15, "Result binary", kWidestBinary, false,
               Align::Left, Announce::OnWrite),
    Button("Command1", u"And", 360, 2040, 750, 615, 5, "And", "And: the bits set in both operands"),
    Button("Command2", u"Or", 1440, 2040, 750, 615, 6, "Or", "Or: the bits set in either operand"),
    Button("Command3", u"Xor", 2520, 2040, 750, 615, 7, "Xor",
           "Xor: the bits set in exactly one operand"),
    Button("Not", u"Not", 3600, 2040, 750, 615, 8, "Not", "Not: inverts operand 1"),
    Button("Plus", u"+", 4800, 1920, 405, 405, 10, "Plus", "Plus: adds operand 2 to operand 1"),
    Button("Minus", u"-", 4800, 2400, 405, 405, 11, "Minus",
           "Minus: subtracts operand 2 from operand 1"),
    Button("Multiply", u"X", 5280, 1920, 405, 405, 12, "Multiply",
           "Multiply: multiplies operand 1 by operand 2"),
    Button("Divide", u"\\", 5280, 2400, 405, 405, 13, "Divide",
           "Divide: divides operand 1 by operand 2, enabled while operand 2 is not zero"),
    Heading("Label4", u"Tessoral", 240, 0, 5535, 495, 20, kTitleFont),
    Heading("Label1", u"Decimal", 240, 600, 1095, 255, 0, kHeadingFont),
    Heading("Label2", u"Hex", 1560, 600, 855, 255, 9, kHeadingFont),
    Heading("Label3", u"Binary", 2760, 600, 3015, 255, 14, kHeadingFont),
};

}  // namespace

const forms::WindowLayout kForm1Layout{
    .name = "Form1",
    .caption = u"TSRL  Ver 1.01",
    .clientWidth = 6015,
    .clientHeight = 3420,
    .clientLeft = 555,
    .clientTop = 840,
    .icon = WindowIcon::Program,
    .controls = kControls,
};

}  // namespace tsrl
