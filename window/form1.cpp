#include "form1.h"

#include <limits>
#include <string>
#include <variant>

#include "arithmetic.h"
#include "conversions.h"

namespace tsrl {
namespace {

constexpr float kPlacementDivisor = 4.0F;
constexpr std::u16string_view kRowError = u"Error!  Input not a number or out of range!";
constexpr std::u16string_view kOverflowDecimal = u"00";
constexpr std::u16string_view kOverflowMessage = u"Exceeds capacity of a Long data type!";

int Length(const std::u16string& text) {
    return static_cast<int>(text.size());
}

}  // namespace

struct Form1::Wiring {
    std::string_view control;
    forms::Event event;
    std::variant<void (Form1::*)(), void (Form1::*)(std::int16_t&)> procedure;
};

using forms::Event;

const Form1::Wiring Form1::kWiring[] = {
    {"Form1", Event::Load, &Form1::Form_Load},
    {"Text1Dec", Event::GotFocus, &Form1::Text1Dec_GotFocus},
    {"Text1Dec", Event::KeyPress, &Form1::Text1Dec_KeyPress},
    {"Text1Dec", Event::LostFocus, &Form1::Text1Dec_LostFocus},
    {"Text1Hex", Event::GotFocus, &Form1::Text1hex_GotFocus},
    {"Text1Hex", Event::KeyPress, &Form1::Text1Hex_KeyPress},
    {"Text1Hex", Event::LostFocus, &Form1::Text1Hex_LostFocus},
    {"Text2Dec", Event::Change, &Form1::Text2Dec_Change},
    {"Text2Dec", Event::GotFocus, &Form1::Text2Dec_GotFocus},
    {"Text2Dec", Event::KeyPress, &Form1::Text2Dec_KeyPress},
    {"Text2Dec", Event::LostFocus, &Form1::Text2Dec_LostFocus},
    {"Text2Hex", Event::GotFocus, &Form1::Text2hex_GotFocus},
    {"Text2Hex", Event::KeyPress, &Form1::Text2Hex_KeyPress},
    {"Text2Hex", Event::LostFocus, &Form1::Text2Hex_LostFocus},
    {"Text3Dec", Event::Change, &Form1::Text3Dec_Change},
    {"Command1", Event::Click, &Form1::Command1_Click},
    {"Command2", Event::Click, &Form1::Command2_Click},
    {"Command3", Event::Click, &Form1::Command3_Click},
    {"Not", Event::Click, &Form1::Not_Click},
    {"Plus", Event::Click, &Form1::Plus_Click},
    {"Minus", Event::Click, &Form1::Minus_Click},
    {"Multiply", Event::Click, &Form1::Multiply_Click},
    {"Divide", Event::Click, &Form1::Divide_Click},
};

Form1::Form1()
    : form_(kForm1Layout),
      Text1Dec(form_.TextBoxNamed("Text1Dec")),
      Text1Hex(form_.TextBoxNamed("Text1Hex")),
      Text1Bin(form_.TextBoxNamed("Text1Bin")),
      Text2Dec(form_.TextBoxNamed("Text2Dec")),
      Text2Hex(form_.TextBoxNamed("Text2Hex")),
      Text2Bin(form_.TextBoxNamed("Text2Bin")),
      Text3Dec(form_.TextBoxNamed("Text3Dec")),
      Text3Hex(form_.TextBoxNamed("Text3Hex")),
      Text3Bin(form_.TextBoxNamed("Text3Bin")),
      Command1(form_.ButtonNamed("Command1")),
      Command2(form_.ButtonNamed("Command2")),
      Command3(form_.ButtonNamed("Command3")),
      Not(form_.ButtonNamed("Not")),
      Plus(form_.ButtonNamed("Plus")),
      Minus(form_.ButtonNamed("Minus")),
      Multiply(form_.ButtonNamed("Multiply")),
      Divide(form_.ButtonNamed("Divide")) {
    for (const Wiring& wiring : kWiring) {
        if (const auto* key = std::get_if<void (Form1::*)(std::int16_t&)>(&wiring.procedure)) {
            form_.ConnectKeyPress(wiring.control, [this, key = *key](std::int16_t& KeyAscii) {
                (this->*key)(KeyAscii);
            });
        } else {
            form_.Connect(wiring.control, wiring.event,
                          [this, plain = std::get<void (Form1::*)()>(wiring.procedure)] {
                              (this->*plain)();
                          });
        }
    }
}

// Start-up.

void Form1::Form_Load() {
    form_.SetLeft(form_.ScreenWidth() / kPlacementDivisor - form_.Width() / kPlacementDivisor);
    form_.SetTop(form_.ScreenHeight() / kPlacementDivisor - form_.Height() / kPlacementDivisor);
    Text1Dec_LostFocus();
    Text2Dec_LostFocus();
    Text2Dec_Change();
    Text3Dec_Change();
}

// Operand entry.

void Form1::SelectAll(forms::TextBox& box) {
    box.SetSelStart(0);
    box.SetSelLength(Length(box.Text()));
}

void Form1::EnterMovesTo(std::int16_t& KeyAscii, forms::TextBox& box, forms::Control& target) {
    if (KeyAscii != forms::kEnterKey) {
        return;
    }
    KeyAscii = 0;
    box.SetSelLength(0);
    target.SetFocus();
}

void Form1::LeaveDecimalBox(forms::TextBox& dec, forms::TextBox& hex, forms::TextBox& bin) {
    try {
        dec.SetText(FormatLong(ParseLong(dec.Text())));
        hex.SetText(LongToHex(ParseLong(dec.Text())));
        bin.SetText(HexToBin(hex.Text()));
    } catch (const ConversionError&) {
        ShowRowError(bin, dec);
    }
}

void Form1::LeaveHexBox(forms::TextBox& dec, forms::TextBox& hex, forms::TextBox& bin) {
    try {
        dec.SetText(FormatLong(ParseHexLong(hex.Text())));
        hex.SetText(LongToHex(ParseLong(dec.Text())));
        bin.SetText(HexToBin(hex.Text()));
    } catch (const ConversionError&) {
        ShowRowError(bin, hex);
    }
}

void Form1::ShowRowError(forms::TextBox& bin, forms::TextBox& left) {
    bin.SetText(kRowError);
    form_.Beep();
    left.SetFocus();
}

void Form1::Text1Dec_GotFocus() {
    SelectAll(Text1Dec);
}
void Form1::Text1hex_GotFocus() {
    SelectAll(Text1Hex);
}
void Form1::Text2Dec_GotFocus() {
    SelectAll(Text2Dec);
}
void Form1::Text2hex_GotFocus() {
    SelectAll(Text2Hex);
}

void Form1::Text1Dec_KeyPress(std::int16_t& KeyAscii) {
    EnterMovesTo(KeyAscii, Text1Dec, Text2Dec);
}
void Form1::Text1Hex_KeyPress(std::int16_t& KeyAscii) {
    EnterMovesTo(KeyAscii, Text1Hex, Text2Hex);
}
void Form1::Text2Dec_KeyPress(std::int16_t& KeyAscii) {
    EnterMovesTo(KeyAscii, Text2Dec, Command1);
}
void Form1::Text2Hex_KeyPress(std::int16_t& KeyAscii) {
    EnterMovesTo(KeyAscii, Text2Hex, Command1);
}

void Form1::Text1Dec_LostFocus() {
    LeaveDecimalBox(Text1Dec, Text1Hex, Text1Bin);
}
void Form1::Text1Hex_LostFocus() {
    LeaveHexBox(Text1Dec, Text1Hex, Text1Bin);
}
void Form1::Text2Dec_LostFocus() {
    LeaveDecimalBox(Text2Dec, Text2Hex, Text2Bin);
}
void Form1::Text2Hex_LostFocus() {
    LeaveHexBox(Text2Dec, Text2Hex, Text2Bin);
}

void Form1::Text2Dec_Change() {
    Divide.SetEnabled(NumericValue(Text2Dec.Text()) != 0);
}

// Operations and the result row. A bitwise operation arms no trap: an operand that does not
// convert stops it before it writes, and the engine's boundary absorbs the failure.

void Form1::Bitwise(Long (*operation)(Long, Long)) {
    const std::u16string first = Text1Dec.Text();
    const std::u16string second = Text2Dec.Text();
    const Long a = ParseLong(first);
    const Long b = ParseLong(second);
    Text3Dec.SetText(FormatLong(operation(a, b)));
}

void Form1::Arithmetic(Long (*operation)(Long, Long), std::u16string_view name) {
    try {
        const std::u16string first = Text1Dec.Text();
        const std::u16string second = Text2Dec.Text();
        const Long a = ParseLong(first);
        const Long b = ParseLong(second);
        Text3Dec.SetText(FormatLong(operation(a, b)));
    } catch (const ConversionError&) {
        ShowOverflow(name);
    }
}

void Form1::Command1_Click() {
    Bitwise([](Long a, Long b) { return a & b; });
}

void Form1::Command2_Click() {
    Bitwise([](Long a, Long b) { return a | b; });
}

void Form1::Command3_Click() {
    Bitwise([](Long a, Long b) { return a ^ b; });
}

void Form1::Not_Click() {
    Text3Dec.SetText(FormatLong(~ParseLong(Text1Dec.Text())));
}

void Form1::Plus_Click() {
    Arithmetic(CheckedAdd, u"Adding");
}
void Form1::Minus_Click() {
    Arithmetic(CheckedSubtract, u"Subtracting");
}
void Form1::Multiply_Click() {
    Arithmetic(CheckedMultiply, u"Multiplying");
}
void Form1::Divide_Click() {
    Arithmetic(CheckedDivide, u"Dividing");
}

void Form1::ShowOverflow(std::u16string_view name) {
    form_.Beep();
    Text3Dec.SetText(kOverflowDecimal);
    Text3Hex.SetText(name);
    Text3Bin.SetText(kOverflowMessage);
}

void Form1::Text3Dec_Change() {
    Text3Hex.SetText(LongToHex(ParseLong(Text3Dec.Text())));
    Text3Bin.SetText(HexToBin(Text3Hex.Text()));
}

}  // namespace tsrl
