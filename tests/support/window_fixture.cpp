#include "window_fixture.h"

#include <stdexcept>

#include "conversions.h"
#include "swallowed.h"

namespace tsrl::testing {

std::string Bits(std::uint32_t pattern) {
    std::string bits;
    for (int bit = 31; bit >= 0; --bit) {
        bits += ((pattern >> bit) & 1U) != 0 ? '1' : '0';
    }
    return bits;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

void WindowTest::SetUp() {
    form_ = std::make_unique<Form1>();
    Window().Load();
    Window().Show();
    ASSERT_TRUE(driver::WaitUntilActive(Control(std::string(kForm1Layout.controls.front().name))));
    beepsAtStart_ = driver::Beeps();
}

void WindowTest::TearDown() {
    form_.reset();
}

forms::Control& WindowTest::Control(const std::string& name) const {
    forms::Control* found = Window().Find(name);
    if (found == nullptr) {
        throw std::invalid_argument("no control named " + name);
    }
    return *found;
}

std::string WindowTest::Text(const std::string& box) const {
    return driver::Utf8(Window().TextBoxNamed(box).Text());
}

std::string WindowTest::Focus() const {
    // Where the engine has it first: asking each control costs a native call, and a search.
    if (const forms::Control* engine = Window().FocusedControl();
        engine != nullptr && driver::HoldsNativeFocus(*engine)) {
        return std::string(engine->Name());
    }
    for (const forms::ControlLayout& c : kForm1Layout.controls) {
        if (driver::HoldsNativeFocus(Control(std::string(c.name)))) {
            return std::string(c.name);
        }
    }
    return {};
}

std::string WindowTest::SelectedText(const std::string& box) const {
    const forms::TextBox& textBox = Window().TextBoxNamed(box);
    const std::u16string text = textBox.Text();
    const auto start = static_cast<std::size_t>(textBox.SelStart());
    return driver::Utf8(
        std::u16string_view(text).substr(start, static_cast<std::size_t>(textBox.SelLength())));
}

bool WindowTest::Enabled(const std::string& button) const {
    return Window().ButtonNamed(button).Enabled();
}

int WindowTest::Beeps() const {
    return driver::Beeps() - beepsAtStart_;
}

WindowTest::Untrapped WindowTest::UntrappedFailures() {
    return {SwallowedCount(), SwallowedCount(typeid(ConversionError))};
}

void WindowTest::Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        Do(step);
    }
}

void WindowTest::Do(const Step& step) {
    if (const auto* click = std::get_if<ClickOn>(&step)) {
        driver::Click(Control(click->control), click->how);
    } else if (const auto* type = std::get_if<TypeText>(&step)) {
        driver::Type(type->text);
    } else if (const auto* key = std::get_if<PressKey>(&step)) {
        driver::Press(key->key, key->modifiers);
    } else if (const auto* paste = std::get_if<PasteText>(&step)) {
        driver::Paste(paste->text);
    } else if (const auto* gesture = std::get_if<GestureOn>(&step)) {
        driver::Perform(gesture->gesture, Control(gesture->control), gesture->text);
    }
    driver::ProcessEvents();
}

void WindowTest::ExpectRow(int row, const Row& texts) const {
    const std::string prefix = "Text" + std::to_string(row);
    const char* const columns[] = {"Dec", "Hex", "Bin"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string box = prefix + columns[i];
        EXPECT_EQ(Text(box), texts[i]) << "in " << box;
    }
}

void WindowTest::Expect(const Outcome& outcome) const {
    if (outcome.row1) {
        ExpectRow(1, *outcome.row1);
    }
    if (outcome.row2) {
        ExpectRow(2, *outcome.row2);
    }
    if (outcome.row3) {
        ExpectRow(3, *outcome.row3);
    }
    EXPECT_EQ(Focus(), outcome.focus);
    // The native focus and the engine's must agree, or the next leave would run no LostFocus.
    const forms::Control* focused = Window().FocusedControl();
    EXPECT_EQ(focused != nullptr ? std::string(focused->Name()) : std::string(), outcome.focus);
    if (outcome.selected) {
        EXPECT_EQ(SelectedText(outcome.focus), *outcome.selected);
    }
    if (!outcome.selectionHiddenIn.empty()) {
        const auto& hidden = Window().TextBoxNamed(outcome.selectionHiddenIn);
        ASSERT_GT(hidden.SelLength(), 0) << "no selection to hide in " << hidden.Name();
        EXPECT_FALSE(driver::ShowsSelection(hidden)) << "in " << hidden.Name();
        EXPECT_TRUE(driver::ShowsSelection(Control(outcome.focus))) << "in " << outcome.focus;
    }
    if (outcome.divideEnabled) {
        EXPECT_EQ(Enabled("Divide"), *outcome.divideEnabled);
    }
    EXPECT_EQ(Beeps(), outcome.beeps);
}

}  // namespace tsrl::testing
