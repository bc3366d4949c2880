// The window tests' input on Qt, through QTest on the offscreen platform; an assistive tool's
// through the widgets' accessible interfaces.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAbstractEventDispatcher>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPalette>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QTimer>
#include <array>
#include <initializer_list>

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
    Qt::Key_Tab,    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Backspace,
    Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Home,  Qt::Key_End,   Qt::Key_Left,
    Qt::Key_Right,  Qt::Key_Escape, Qt::Key_F10,   Qt::Key_Menu};

// The menu's items, from Undo on in the order of Gesture, by their text less the mnemonic and
// the shortcut.
const std::array<QString, 7> kMenuItems{"Undo",  "Redo",   "Cut",       "Copy",
                                        "Paste", "Delete", "Select All"};

// Once a menu shows, the item of that text is chosen as a user does, or the menu closed; then the
// window is active again, as a window manager makes it once the menu is gone.
void ChooseFromMenu(QWidget* window, const QString& item) {
    QTimer::singleShot(0, [window, item] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            bool found = false;
            for (QAction* action : menu->actions()) {
                if (!found && !action->isSeparator() && action->isEnabled() &&
                    action->text().remove('&').section('\t', 0, 0) == item) {
                    menu->setActiveAction(action);
                    found = true;
                }
            }
            QTest::keyClick(menu, found ? Qt::Key_Return : Qt::Key_Escape);
        }
        window->activateWindow();
    });
}

// Where a box's text takes the pointer.
QWidget* PointerTarget(QWidget* widget) {
    auto* area = qobject_cast<QAbstractScrollArea*>(widget);
    return area != nullptr ? area->viewport() : widget;
}

// The menu comes with the press, as on X11.
void RightClick(QWidget* widget, const QString& item) {
    const QPoint at = widget->rect().center();
    QTest::mousePress(widget, Qt::RightButton, Qt::NoModifier, at);
    ChooseFromMenu(widget->window(), item);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &menu);
    QTest::mouseRelease(widget, Qt::RightButton, Qt::NoModifier, at);
}

// From another program, onto the control's middle. The events go straight to the control, so
// even one that would refuse the drag sees the drop.
void Drop(QWidget* widget, const QString& text) {
    QWidget* site = PointerTarget(widget);
    QMimeData data;
    data.setText(text);
    const QPoint at = site->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop}) {
        QApplication::sendEvent(site, event);
    }
}

// As a screen reader's bridge calls the widget's accessible interface. A button pressed so
// clicks when a timer runs out, 100 ms later: it runs out at once.
void Assist(Gesture gesture, QWidget* widget, const QString& text) {
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
    QAccessibleEditableTextInterface* editable = control->editableTextInterface();
    QAccessibleActionInterface* actions = control->actionInterface();
    const QString action = gesture == Gesture::Press ? QAccessibleActionInterface::pressAction()
                                                     : QAccessibleActionInterface::setFocusAction();
    if (gesture == Gesture::SetText && editable != nullptr) {
        editable->replaceText(0, control->textInterface()->characterCount(), text);
    } else if (gesture == Gesture::InsertText && editable != nullptr) {
        editable->insertText(control->textInterface()->cursorPosition(), text);
    } else if ((gesture == Gesture::Press || gesture == Gesture::GrabFocus) && actions != nullptr &&
               actions->actionNames().contains(action)) {
        actions->doAction(action);
        for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(widget)) {
            QTimerEvent due(timer.timerId);
            QApplication::sendEvent(widget, &due);
        }
    }
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Focus moves, but not the focus given back after a menu or another window had it; and
// announcements, each a notification object shown, which the engine raises only where
// accessibility is active.
Heard heard;
QAccessible::UpdateHandler engineHandler = nullptr;

struct FocusCounter : QObject {
    using QObject::QObject;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            heard.focusMoves +=
                reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
        }
        return false;
    }
};

// Installed again after each event, since the engine's handler puts itself back in place.
void HearUpdate(QAccessibleEvent* event) {
    QAccessibleInterface* object = event->accessibleInterface();
    if (event->type() == QAccessible::ObjectShow && object != nullptr &&
        object->role() == QAccessible::Notification) {
        heard.announcements.push_back(object->text(QAccessible::Name).toStdString());
    }
    engineHandler(event);
    QAccessible::installUpdateHandler(HearUpdate);
}

}  // namespace

void Click(const forms::Control& control, Pointer how) {
    QWidget* widget = WidgetOf(control);
    if (how == Pointer::Click) {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
        return;
    }
    widget = PointerTarget(widget);
    const QPoint at = widget->rect().center();
    const QPoint outside(-at.x(), at.y());
    if (how == Pointer::DragLeft) {
        QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseMove(widget, outside);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, outside);
        return;
    }
    RightClick(widget, {});
}

void Type(std::string_view text) {
    for (const QChar c : FromUtf8(text)) {
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
    // A menu the key opens is closed; the Menu key's, the system asks the focused widget for.
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && (key == Keys::Menu || key == Keys::F10)) {
        ChooseFromMenu(focus->window(), {});
    }
    QTest::keyClick(Receiver(), qtKey, qtModifiers);
    if (focus != nullptr && key == Keys::Menu) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, focus->mapToGlobal(QPoint()));
        QApplication::sendEvent(focus, &menu);
    }
}

void Paste(std::string_view text) {
    QApplication::clipboard()->setText(FromUtf8(text));
    Press(Keys::V, kCtrl);
}

bool Has(Gesture /*gesture*/) {
    return true;
}

void Perform(Gesture gesture, const forms::Control& control, std::string_view text) {
    QWidget* widget = WidgetOf(control);
    QWidget* target = PointerTarget(widget);
    const QPoint at = target->rect().center();
    if (gesture == Gesture::DoubleClick || gesture == Gesture::TripleClick) {
        QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
        if (gesture == Gesture::TripleClick) {
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
        }
    } else if (gesture == Gesture::MiddleClick) {
        QTest::mouseClick(target, Qt::MiddleButton, Qt::NoModifier, at);
    } else if (gesture == Gesture::Drop) {
        Drop(widget, FromUtf8(text));
    } else if (gesture >= Gesture::SetText) {
        Assist(gesture, widget, FromUtf8(text));
    } else {
        if (gesture == Gesture::Paste) {
            QApplication::clipboard()->setText(FromUtf8(text));
        }
        RightClick(target, kMenuItems.at(static_cast<std::size_t>(gesture) -
                                         static_cast<std::size_t>(Gesture::Undo)));
    }
}

Heard Listen() {
    static const bool listening = [] {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        qApp->installEventFilter(new FocusCounter(qApp));
        engineHandler = QAccessible::installUpdateHandler(HearUpdate);
        return true;
    }();
    (void)listening;
    QApplication::processEvents();  // what the last events posted, announcements among them
    return std::exchange(heard, {});
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
