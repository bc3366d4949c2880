// The window tests' input on Qt, through QTest on the offscreen platform.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QTimer>
#include <array>

#include "qt_native.h"
#include "window_driver.h"

namespace tsrl::testing::driver {
namespace {

QWidget* Receiver() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : QApplication::activeWindow();
}

Rect ToRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

int beeps = 0;

constexpr auto kLetters = static_cast<int>(Keys::A);
constexpr std::array<Qt::Key, kLetters> kNamedKeys{
    Qt::Key_Tab,    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Delete,
    Qt::Key_Insert, Qt::Key_Home,   Qt::Key_End,   Qt::Key_Left,  Qt::Key_Right};

}  // namespace

void Click(const forms::Control& control, Pointer how) {
    QWidget* widget = WidgetOf(control);
    if (how == Pointer::Click) {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
        return;
    }
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        widget = area->viewport();  // where a box's text takes the pointer
    }
    const QPoint at = widget->rect().center();
    const QPoint outside(-at.x(), at.y());
    if (how == Pointer::DragLeft) {
        QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseMove(widget, outside);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, outside);
        return;
    }
    // The menu comes with the press, as on X11, and is closed as soon as it shows.
    QTest::mousePress(widget, Qt::RightButton, Qt::NoModifier, at);
    QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            menu->close();
        }
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &menu);
    QTest::mouseRelease(widget, Qt::RightButton, Qt::NoModifier, at);
    widget->window()->activateWindow();  // as a window manager does once the menu is gone
}

void Type(std::string_view text) {
    for (const QChar c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) {
        if (c.unicode() > 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(Receiver(), static_cast<char>(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, Receiver(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

void Press(Keys key, Modifiers modifiers) {
    const auto index = static_cast<int>(key);
    Qt::Key qtKey = index >= kLetters ? static_cast<Qt::Key>(Qt::Key_A + index - kLetters)
                                      : kNamedKeys[static_cast<std::size_t>(index)];
    Qt::KeyboardModifiers qtModifiers = Qt::NoModifier;
    if ((modifiers & kShift) != 0) {
        qtModifiers |= Qt::ShiftModifier;
        if (key == Keys::Tab) {
            qtKey = Qt::Key_Backtab;  // what a keyboard sends for Shift+Tab
        }
    }
    if ((modifiers & kCtrl) != 0) {
        qtModifiers |= Qt::ControlModifier;
    }
    if (key == Keys::KeypadEnter) {
        qtModifiers |= Qt::KeypadModifier;
    }
    QTest::keyClick(Receiver(), qtKey, qtModifiers);
}

void Paste(std::string_view text) {
    QApplication::clipboard()->setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    Press(Keys::V, kCtrl);
}

void ProcessEvents() {
    QApplication::processEvents();
}

int Beeps() {
    return beeps;
}

bool HoldsNativeFocus(const forms::Control& control) {
    return QApplication::focusWidget() == WidgetOf(control);
}

bool ShowsSelection(const forms::Control& control) {
    QWidget* widget = WidgetOf(control);
    const QRgb highlight = widget->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    const QImage picture = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) == highlight) {
                return true;
            }
        }
    }
    return false;
}

bool WaitUntilActive(const forms::Control& control) {
    return QTest::qWaitForWindowActive(WidgetOf(control)->window());
}

Rect WindowFrame(const forms::Control& control) {
    return ToRect(WidgetOf(control)->window()->frameGeometry());
}

Rect WholeScreen() {
    return ToRect(QApplication::primaryScreen()->geometry());
}

Rect WorkArea() {
    return ToRect(QApplication::primaryScreen()->availableGeometry());
}

std::string Utf8(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

}  // namespace tsrl::testing::driver

// Defined in the test program, this takes the place of Qt's own for the backend linked into it.
void QApplication::beep() {
    ++tsrl::testing::driver::beeps;
}
