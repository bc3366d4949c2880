// Runs GoogleTest inside the Win32 application object: real controls in the test's process.
#include <gtest/gtest.h>

#include "application.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tsrl::forms::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
