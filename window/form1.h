// The calculator's one window: two operand rows and a result row, each in decimal, hex and
// binary, and the eight operation buttons. The box texts are the whole state.
#pragma once

#include <cstdint>
#include <string_view>

#include "conversions.h"
#include "form.h"

namespace tsrl {

extern const forms::WindowLayout kForm1Layout;

class Form1 {
  public:
    Form1();

    forms::Form& Window() { return form_; }

  private:
    struct Wiring;
    static const Wiring kWiring[];

    void Form_Load();

    void Text1Dec_GotFocus();
    void Text1Dec_KeyPress(std::int16_t& KeyAscii);
    void Text1Dec_LostFocus();
    void Text1hex_GotFocus();
    void Text1Hex_KeyPress(std::int16_t& KeyAscii);
    void Text1Hex_LostFocus();
    void Text2Dec_Change();
    void Text2Dec_GotFocus();
    void Text2Dec_KeyPress(std::int16_t& KeyAscii);
    void Text2Dec_LostFocus();
    void Text2hex_GotFocus();
    void Text2Hex_KeyPress(std::int16_t& KeyAscii);
    void Text2Hex_LostFocus();
    void Text3Dec_Change();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Not_Click();
    void Plus_Click();
    void Minus_Click();
    void Multiply_Click();
    void Divide_Click();

    void ShowOverflow(std::u16string_view name);
    void Bitwise(Long (*operation)(Long, Long));
    void Arithmetic(Long (*operation)(Long, Long), std::u16string_view name);

    // The steps the procedures of both operand rows share, on the row's own boxes.
    static void SelectAll(forms::TextBox& box);
    static void EnterMovesTo(std::int16_t& KeyAscii, forms::TextBox& box, forms::Control& target);
    void LeaveDecimalBox(forms::TextBox& dec, forms::TextBox& hex, forms::TextBox& bin);
    void LeaveHexBox(forms::TextBox& dec, forms::TextBox& hex, forms::TextBox& bin);
    void ShowRowError(forms::TextBox& bin, forms::TextBox& left);

    forms::Form form_;
    forms::TextBox& Text1Dec;
    forms::TextBox& Text1Hex;
    forms::TextBox& Text1Bin;
    forms::TextBox& Text2Dec;
    forms::TextBox& Text2Hex;
    forms::TextBox& Text2Bin;
    forms::TextBox& Text3Dec;
    forms::TextBox& Text3Hex;
    forms::TextBox& Text3Bin;
    forms::CommandButton& Command1;
    forms::CommandButton& Command2;
    forms::CommandButton& Command3;
    forms::CommandButton& Not;
    forms::CommandButton& Plus;
    forms::CommandButton& Minus;
    forms::CommandButton& Multiply;
    forms::CommandButton& Divide;
};

}  // namespace tsrl
