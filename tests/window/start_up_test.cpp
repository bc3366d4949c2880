// Start-up placement: a quarter of the free screen space from the top-left corner, and never
// with the title bar out of reach.
#include <gtest/gtest.h>

#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include "form1.h"
#include "qt_native.h"

namespace {

TEST(StartUpPlacement, LoadPutsTheWindowAQuarterOfTheFreeSpaceFromTheCorner) {
    tsrl::Form1 form1;
    tsrl::forms::Form& form = form1.Window();
    form.Load();
    const QWidget* window = tsrl::forms::WidgetOf(form);
    const QSize screen = window->screen()->geometry().size();
    const QSize size = window->frameGeometry().size();
    const QPoint expected((screen.width() - size.width()) / 4,
                          (screen.height() - size.height()) / 4);
    // Twips round to whole pixels, so a quarter may land half a pixel either way.
    EXPECT_NEAR(window->pos().x(), expected.x(), 1);
    EXPECT_NEAR(window->pos().y(), expected.y(), 1);
    EXPECT_NE(window->pos(), QPoint(555 / 15, 840 / 15)) << "the stored position was kept";
}

struct Placement {
    float left;  // twips, as Load sets them
    float top;
    QPoint shown;  // pixels, the frame's top-left once shown
};

TEST(StartUpPlacement, KeepsTheTitleBarWithinReach) {
    const Placement cases[] = {
        {-3000.0F, -1500.0F, {0, 0}},
        {-3000.0F, 900.0F, {0, 60}},
        {600.0F, -1500.0F, {40, 0}},
        {600.0F, 900.0F, {40, 60}},
    };
    for (const Placement& c : cases) {
        SCOPED_TRACE(testing::Message() << "left " << c.left << ", top " << c.top);
        tsrl::Form1 form1;
        tsrl::forms::Form& form = form1.Window();
        ASSERT_EQ(tsrl::forms::WidgetOf(form)->screen()->availableGeometry().topLeft(),
                  QPoint(0, 0));
        form.Load();
        form.SetLeft(c.left);
        form.SetTop(c.top);
        form.Show();
        EXPECT_EQ(tsrl::forms::WidgetOf(form)->frameGeometry().topLeft(), c.shown);
    }
}

}  // namespace
