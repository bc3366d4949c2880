// The display boxes (Text1Bin, Text2Bin, Text3Dec, Text3Hex, Text3Bin) are locked: nothing a
// user does at the keyboard, from the clipboard or by dragging changes them, but their text
// can still be selected and copied.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "printers.h"
#include "qt_native.h"
#include "window_fixture.h"

namespace tsrl::testing {
namespace {

const std::vector<std::string> kLockedBoxes = {"Text1Bin", "Text2Bin", "Text3Dec", "Text3Hex",
                                               "Text3Bin"};
const char* const kAllBoxes[] = {"Text1Dec", "Text1Hex", "Text1Bin", "Text2Dec", "Text2Hex",
                                 "Text2Bin", "Text3Dec", "Text3Hex", "Text3Bin"};

const std::string kClipboardText = "-42";

class LockedBoxTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Distinct texts everywhere: -123456789 Xor 987 = -123457232.
        Run({Click("Text1Dec"), Key(Keys::A, kCtrl), Type("-123456789"), Key(Keys::Tab),
             Type("987"), Click("Command3")});
        ASSERT_EQ(Text("Text3Dec"), "-123457232");
        QApplication::clipboard()->setText(QString::fromStdString(kClipboardText));
    }

    std::map<std::string, std::string> AllTexts() const {
        std::map<std::string, std::string> texts;
        for (const char* box : kAllBoxes) {
            texts[box] = Text(box);
        }
        return texts;
    }

    // A drag of text from another program, dropped on the box's middle.
    void DropText(const std::string& box, const std::string& text) const {
        driver::Perform(driver::Gesture::Drop, Control(box), text);
        driver::ProcessEvents();
    }
};

// ---------------------------------------------------------------------------------------------

struct Attempt {
    std::string name;
    std::vector<Step> steps;  // after a click in the box
    bool editsATypingBox = true;
};

const Step kSelectAll = Key(Keys::A, kCtrl);

const std::vector<Attempt>& Attempts() {
    static const std::vector<Attempt> attempts = {
        {"Typing", {Type("123abc-")}},
        {"TypingOverASelection", {kSelectAll, Type("5")}},
        {"BackspaceAtTheEnd", {Key(Keys::End), Key(Keys::Backspace)}},
        {"BackspaceOnASelection", {kSelectAll, Key(Keys::Backspace)}},
        {"DeleteAtTheStart", {Key(Keys::Home), Key(Keys::Delete)}},
        {"DeleteOnASelection", {kSelectAll, Key(Keys::Delete)}},
        {"PasteWithCtrlV", {Key(Keys::End), Key(Keys::V, kCtrl)}},
        {"PasteOverASelection", {kSelectAll, Key(Keys::V, kCtrl)}},
        {"PasteWithShiftInsert", {kSelectAll, Key(Keys::Insert, kShift)}},
        {"CutWithCtrlX", {kSelectAll, Key(Keys::X, kCtrl)}},
        {"Enter", {Key(Keys::End), Key(Keys::Return)}, false},
        {"Undo", {Key(Keys::Z, kCtrl)}, false},
    };
    return attempts;
}

class LockedBox : public LockedBoxTest,
                  public ::testing::WithParamInterface<std::tuple<std::string, Attempt>> {};

TEST_P(LockedBox, KeysAndPastesChangeNothing) {
    const auto& [box, attempt] = GetParam();
    const auto before = AllTexts();
    Do(Click(box));
    ASSERT_EQ(Focus(), box);
    Run(attempt.steps);
    EXPECT_EQ(AllTexts(), before);
    const std::string clipboard = QApplication::clipboard()->text().toStdString();
    if (attempt.name == "CutWithCtrlX") {
        EXPECT_TRUE(clipboard == kClipboardText || clipboard == Text(box))
            << "a cut from a locked box may at most copy: " << clipboard;
    } else {
        EXPECT_EQ(clipboard, kClipboardText);
    }
    EXPECT_EQ(Focus(), box);
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(Attempts, LockedBox,
                         ::testing::Combine(::testing::ValuesIn(kLockedBoxes),
                                            ::testing::ValuesIn(Attempts())),
                         [](const ::testing::TestParamInfo<std::tuple<std::string, Attempt>>& p) {
                             return std::get<0>(p.param) + "_" + std::get<1>(p.param).name;
                         });

// The same attempts do change a box that is not locked, so the ones above reached their box.
std::vector<Attempt> EditingAttempts() {
    std::vector<Attempt> editing;
    for (const Attempt& attempt : Attempts()) {
        if (attempt.editsATypingBox) {
            editing.push_back(attempt);
        }
    }
    return editing;
}

class TypingBoxControl : public LockedBoxTest, public ::testing::WithParamInterface<Attempt> {};

TEST_P(TypingBoxControl, TheSameAttemptChangesTheUnlockedText1Dec) {
    const std::string before = Text("Text1Dec");
    Do(Click("Text1Dec"));
    Run(GetParam().steps);
    EXPECT_NE(Text("Text1Dec"), before);
}

// Only while it holds the focus, so that its LostFocus judges what was dropped.
TEST_F(LockedBoxTest, ADropChangesTheUnlockedText1DecOnlyWhileItHasTheFocus) {
    const auto before = AllTexts();
    DropText("Text1Dec", "77");
    EXPECT_EQ(AllTexts(), before);
    Do(Click("Text1Dec"));
    DropText("Text1Dec", "77");
    EXPECT_NE(Text("Text1Dec"), before.at("Text1Dec"));
}

INSTANTIATE_TEST_SUITE_P(Attempts, TypingBoxControl, ::testing::ValuesIn(EditingAttempts()),
                         [](const auto& p) { return p.param.name; });

// ---------------------------------------------------------------------------------------------

class LockedBoxEach : public LockedBoxTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(LockedBoxEach, ADropChangesNothing) {
    const auto before = AllTexts();
    DropText(GetParam(), "77");
    EXPECT_EQ(AllTexts(), before);
    Do(Click(GetParam()));  // also while it has the focus
    DropText(GetParam(), "77");
    EXPECT_EQ(AllTexts(), before);
}

TEST_P(LockedBoxEach, ItsTextCanBeSelectedAndCopied) {
    const std::string text = Text(GetParam());
    ASSERT_FALSE(text.empty());
    ASSERT_NE(text, kClipboardText);
    Run({Click(GetParam()), Key(Keys::A, kCtrl)});
    EXPECT_EQ(SelectedText(GetParam()), text);
    Do(Key(Keys::C, kCtrl));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text);
    EXPECT_EQ(Text(GetParam()), text);
}

TEST_P(LockedBoxEach, ItsTextCanBeSelectedWithShiftAndTheArrowKeys) {
    const std::string text = Text(GetParam());
    Run({Click(GetParam()), Key(Keys::Home), Key(Keys::Right, kShift), Key(Keys::Right, kShift),
         Key(Keys::C, kCtrl)});
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text.substr(0, 2));
}

INSTANTIATE_TEST_SUITE_P(Boxes, LockedBoxEach, ::testing::ValuesIn(kLockedBoxes),
                         [](const auto& p) { return p.param; });

}  // namespace
}  // namespace tsrl::testing
