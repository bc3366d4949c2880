#include "services.h"

#include <QApplication>
#include <QScreen>

#include "layout.h"

namespace tsrl::forms {
namespace {
int beeps = 0;

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}
}  // namespace

float Screen::Width() {
    return static_cast<float>(ScreenSize().width() * kTwipsPerPixel);
}
float Screen::Height() {
    return static_cast<float>(ScreenSize().height() * kTwipsPerPixel);
}

void Beep() {
    ++beeps;
    QApplication::beep();
}

int BeepCount() {
    return beeps;
}

}  // namespace tsrl::forms
