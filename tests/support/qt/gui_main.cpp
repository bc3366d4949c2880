// Runs GoogleTest inside a Qt application on the offscreen platform: real widgets, no display.
#include <gtest/gtest.h>

#include <QString>
#include <cstdlib>

#include "application.h"

namespace {
QtMessageHandler next = nullptr;

// The offscreen platform says at every menu shown that it cannot raise it or give it the keyboard.
void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support"))) {
        next(type, context, text);
    }
}
}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    tsrl::forms::Application application(argc, argv);
    next = qInstallMessageHandler(Filter);
    return RUN_ALL_TESTS();
}
