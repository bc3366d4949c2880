// Runs GoogleTest inside a Qt application on the offscreen platform: real widgets, no display.
#include <gtest/gtest.h>

#include <cstdlib>

#include "application.h"

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    tsrl::forms::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
