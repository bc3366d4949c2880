// Start-up placement: a quarter of the free screen space from the top-left corner, and never
// with the title bar out of reach.
#include <gtest/gtest.h>

#include <string>

#include "form1.h"
#include "window_driver.h"

namespace {

using tsrl::testing::Rect;
namespace driver = tsrl::testing::driver;

// Any control stands for its window.
const tsrl::forms::Control& AnyControl(const tsrl::forms::Form& form) {
    return *form.Find(tsrl::kForm1Layout.controls.front().name);
}

TEST(StartUpPlacement, LoadPutsTheWindowAQuarterOfTheFreeSpaceFromTheCorner) {
    tsrl::Form1 form1;
    tsrl::forms::Form& form = form1.Window();
    const Rect stored = driver::WindowFrame(AnyControl(form));
    form.Load();
    const Rect screen = driver::WholeScreen();
    const Rect frame = driver::WindowFrame(AnyControl(form));
    // Twips round to whole pixels, so a quarter may land half a pixel either way.
    EXPECT_NEAR(frame.left, (screen.width - frame.width) / 4.0, 1);
    EXPECT_NEAR(frame.top, (screen.height - frame.height) / 4.0, 1);
    EXPECT_FALSE(frame.left == stored.left && frame.top == stored.top)
        << "the stored position was kept";
}

struct Placement {
    float left;  // twips, as Load sets them
    float top;
    int shownLeft;  // pixels, the frame's top-left once shown
    int shownTop;
};

TEST(StartUpPlacement, KeepsTheTitleBarWithinReach) {
    const Placement cases[] = {
        {-3000.0F, -1500.0F, 0, 0},
        {-3000.0F, 900.0F, 0, 60},
        {600.0F, -1500.0F, 40, 0},
        {600.0F, 900.0F, 40, 60},
    };
    for (const Placement& c : cases) {
        SCOPED_TRACE(testing::Message() << "left " << c.left << ", top " << c.top);
        tsrl::Form1 form1;
        tsrl::forms::Form& form = form1.Window();
        const Rect work = driver::WorkArea();
        ASSERT_EQ(work.left, 0);
        ASSERT_EQ(work.top, 0);
        form.Load();
        form.SetLeft(c.left);
        form.SetTop(c.top);
        form.Show();
        ASSERT_TRUE(driver::WaitUntilActive(AnyControl(form)));
        const Rect frame = driver::WindowFrame(AnyControl(form));
        EXPECT_EQ(frame.left, c.shownLeft);
        EXPECT_EQ(frame.top, c.shownTop);
    }
}

}  // namespace
