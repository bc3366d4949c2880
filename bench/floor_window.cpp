// The floor for the start-up measurement: a bare Qt Widgets window with the calculator's 21
// widgets, of the same kinds, at the same places and with the texts it shows at start, and
// nothing else: Qt's own style, font and palette, no icon, no event routing, no procedures.
// Whatever the calculator costs beyond this is ours.
//
// TSRL_QUIT_AFTER_SHOW=1 quits once the window has been painted, for profilers.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <string_view>

#include "form1.h"
#include "layout.h"

namespace {

using tsrl::forms::ControlKind;
using tsrl::forms::ControlLayout;
using tsrl::forms::kTwipsPerPixel;

int Pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QString FromUtf16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// What each box holds once the calculator has loaded: zero in every notation.
QString ShownText(const ControlLayout& c) {
    const std::string_view name = c.name;
    if (name.ends_with("Hex")) {
        return QStringLiteral("00000000");
    }
    if (name.ends_with("Bin")) {
        return QString(32, u'0');
    }
    return QStringLiteral("0");
}

QWidget* Create(const ControlLayout& c, QWidget* parent) {
    switch (c.kind) {
        case ControlKind::TextBox:
            if (c.multiLine) {
                return new QPlainTextEdit(ShownText(c), parent);
            }
            return new QLineEdit(ShownText(c), parent);
        case ControlKind::CommandButton:
            return new QPushButton(FromUtf16(c.text), parent);
        case ControlKind::Label:
            return new QLabel(FromUtf16(c.text), parent);
    }
    return nullptr;
}

struct QuitAfterPaint : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const tsrl::forms::WindowLayout& layout = tsrl::kForm1Layout;
    QWidget window;
    window.setWindowTitle(FromUtf16(layout.caption));
    window.resize(Pixels(layout.clientWidth), Pixels(layout.clientHeight));
    for (const ControlLayout& c : layout.controls) {
        Create(c, &window)
            ->setGeometry(Pixels(c.left), Pixels(c.top), Pixels(c.width), Pixels(c.height));
    }
    QuitAfterPaint quitter;
    const char* quit = std::getenv("TSRL_QUIT_AFTER_SHOW");
    if (quit != nullptr && *quit != '\0' && *quit != '0') {
        window.installEventFilter(&quitter);
    }
    window.show();
    return QApplication::exec();
}
