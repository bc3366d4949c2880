#include "window_fixture.h"

namespace tsrl::testing {
namespace {

using OperandEntry = WindowTest;

TEST_F(OperandEntry, HexTypedAndLeftRewritesTheRow) {
    Run({Click("Text1Hex"), Key(Qt::Key_A, Qt::ControlModifier), Type("ff"), Key(Qt::Key_Tab)});
    EXPECT_EQ(Text("Text1Dec"), "255");
    EXPECT_EQ(Text("Text1Hex"), "000000FF");
    EXPECT_EQ(Text("Text1Bin"), "00000000000000000000000011111111");
    EXPECT_EQ(Focus(), "Text2Hex");
}

TEST_F(OperandEntry, RejectedHexKeepsTextBeepsAndTakesFocusBack) {
    Run({Click("Text1Hex"), Key(Qt::Key_A, Qt::ControlModifier), Type("100000000"),
         Key(Qt::Key_Tab)});
    EXPECT_EQ(Text("Text1Hex"), "100000000");
    EXPECT_EQ(Text("Text1Dec"), "0");
    EXPECT_EQ(Text("Text1Bin"), "Error!  Input not a number or out of range!");
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(Focus(), "Text1Hex");
    EXPECT_EQ(SelectedText("Text1Hex"), "100000000");
}

}  // namespace
}  // namespace tsrl::testing
