#include "services.h"

#include <QApplication>
#include <QScreen>
#include <map>

#include "layout.h"

namespace tsrl::forms {
namespace {
int beeps = 0;
std::map<std::type_index, int> swallowed;

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

void CountSwallowed(std::type_index kind) {
    ++swallowed[kind];
}

int SwallowedCount(std::type_index kind) {
    const auto it = swallowed.find(kind);
    return it != swallowed.end() ? it->second : 0;
}

int SwallowedCount() {
    int total = 0;
    for (const auto& [kind, count] : swallowed) {
        total += count;
    }
    return total;
}

}  // namespace tsrl::forms
