#include "accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleApplication>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

#include "box_accessible.h"
#include "qt_text.h"

namespace tsrl::forms {
namespace {

constexpr const char* kFrameProperty = "tsrlFrame";

// The announcer as a reader sees it: a notification whose name is the text announced.
class NotificationAccessible final : public QAccessibleInterface {
  public:
    explicit NotificationAccessible(Announcer* announcer) : announcer_(announcer) {}

    bool isValid() const override { return !announcer_.isNull(); }
    QObject* object() const override { return announcer_; }
    QWindow* window() const override { return Window() != nullptr ? Window()->window() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(announcer_->parent());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name && isValid() ? announcer_->Text() : QString();
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    QRect rect() const override { return Window() != nullptr ? Window()->rect() : QRect(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

  private:
    QAccessibleInterface* Window() const { return isValid() ? parent() : nullptr; }
    QPointer<Announcer> announcer_;
};

// Qt lists every window of the application but its popups, so that a reader walking the tree
// finds no menu while one shows; the one that shows is listed after the others.
class ApplicationAccessible final : public QAccessibleApplication {
  public:
    int childCount() const override {
        return QAccessibleApplication::childCount() + (Popup() != nullptr ? 1 : 0);
    }
    QAccessibleInterface* child(int index) const override {
        if (Popup() != nullptr && index == QAccessibleApplication::childCount()) {
            return QAccessible::queryAccessibleInterface(Popup());
        }
        return QAccessibleApplication::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child != nullptr && Popup() != nullptr && child->object() == Popup()) {
            return QAccessibleApplication::childCount();
        }
        return QAccessibleApplication::indexOfChild(child);
    }

  private:
    static QWidget* Popup() { return QApplication::activePopupWidget(); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (object == qApp) {
        return new ApplicationAccessible;
    }
    if (auto* announcer = dynamic_cast<Announcer*>(object)) {
        return new NotificationAccessible(announcer);
    }
    if (QAccessibleInterface* box = BoxAccessible(className, object)) {
        return box;
    }
    if (className == QLatin1String("QWidget") && object->property(kFrameProperty).toBool()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// The object whose focus event went out last, and how many have gone out.
QPointer<QObject> focusAnnounced;
int focusesAnnounced = 0;

void Forward(QAccessibleEvent* event);
void Filter(QAccessibleEvent* event);

// A menu reports the focus of its items itself, while the box it opened from keeps the focus.
bool InPopup(const QWidget& widget) {
    return widget.window()->windowType() == Qt::Popup;
}

// Qt tells that the window a menu opens from is active again as the menu takes the keyboard; a
// reader then presents the window anew, after the menu's first item.
bool IsPopupActivation(QAccessibleEvent& event) {
    QAccessible::State active;
    active.active = true;
    return QApplication::activePopupWidget() != nullptr &&
           static_cast<QAccessibleStateChangeEvent&>(event).changedStates() == active;
}

// Only some boxes tell of the focus they get back as their menu closes; a reader that is not told
// stays on the menu's last item.
void FocusBackFromPopup() {
    QWidget* box = QApplication::focusWidget();
    if (box == nullptr || QApplication::activePopupWidget() != nullptr || focusAnnounced == box) {
        return;
    }
    QAccessibleEvent back(box, QAccessible::Focus);
    Filter(&back);
}

// A caret or selection change of the box with the focus, held until the event under way is over.
struct HeldTextEvent {
    QPointer<QWidget> box;
    QAccessible::Event type;
    int focusesBefore;  // an announcement of the focus since makes it part of the focus change
};
std::vector<HeldTextEvent> held;

// Sent again as the box stands now, where it still holds the focus that was announced before it
// changed: not a box that Enter cleared as it left it, and not a box that the focus came back to
// and whose text the program selected again, which the announcement of a rejection names.
void SendHeld() {
    for (const HeldTextEvent& change : std::exchange(held, {})) {
        QWidget* box = change.box;
        QAccessibleInterface* accessible =
            box != nullptr ? QAccessible::queryAccessibleInterface(box) : nullptr;
        QAccessibleTextInterface* text =
            accessible != nullptr ? accessible->textInterface() : nullptr;
        if (text == nullptr || !box->hasFocus() || focusAnnounced != box ||
            change.focusesBefore != focusesAnnounced) {
            continue;
        }
        const int caret = text->cursorPosition();
        if (change.type == QAccessible::TextCaretMoved) {
            QAccessibleTextCursorEvent moved(box, caret);
            Forward(&moved);
            continue;
        }
        int start = caret;
        int end = caret;
        if (text->selectionCount() > 0) {
            text->selection(0, &start, &end);
        }
        QAccessibleTextSelectionEvent selected(box, start, end);
        Forward(&selected);
    }
}

void Hold(QWidget& box, QAccessible::Event type) {
    if (held.empty()) {
        QMetaObject::invokeMethod(qApp, SendHeld, Qt::QueuedConnection);
    }
    const auto same = [&](const HeldTextEvent& change) {
        return change.box == &box && change.type == type;
    };
    if (std::ranges::none_of(held, same)) {
        held.push_back({&box, type, focusesAnnounced});
    }
}

// The engine selects a box's text while the box takes the focus, before Qt reports the focus
// change; a reader that hears of the selection first takes the focus there silently. A focus
// change nested in another (a LostFocus sending the focus back) reports the outer one last, for
// a widget that no longer has the focus. And a reader says "unselected" of a selection that the
// program clears in a box without the focus, the one left or one rewritten. All are held back
// here; what the user does in the box with the focus is not.
void Filter(QAccessibleEvent* event) {
    auto* widget = qobject_cast<QWidget*>(event->object());
    switch (event->type()) {
        case QAccessible::Focus:
            if (widget != nullptr && !widget->hasFocus() && !InPopup(*widget)) {
                return;
            }
            focusAnnounced = event->object();
            ++focusesAnnounced;
            break;
        case QAccessible::TextCaretMoved:
        case QAccessible::TextSelectionChanged:
            if (widget != nullptr) {
                if (widget->hasFocus()) {
                    Hold(*widget, event->type());
                }
                return;
            }
            break;
        case QAccessible::StateChanged:
            if (IsPopupActivation(*event)) {
                return;
            }
            break;
        case QAccessible::PopupMenuEnd:
            Forward(event);
            FocusBackFromPopup();
            return;
        default:
            break;
    }
    Forward(event);
}

void Forward(QAccessibleEvent* event) {
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Filter);
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        QAccessible::installUpdateHandler(Filter);
        return true;
    }();
    (void)installed;
}

void FocusOnPress(QAbstractButton& button) {
    QObject::connect(&button, &QAbstractButton::pressed, &button, [&button] {
        // A pointer press has given it the focus already, or its box sent the focus back.
        if (!button.hasFocus() && QGuiApplication::mouseButtons() == Qt::NoButton) {
            button.setFocus(Qt::OtherFocusReason);
        }
    });
}

void MarkAsFrame(QWidget& window) {
    window.setProperty(kFrameProperty, true);
}

Announcer::Announcer(QWidget& window) : QObject(&window) {}

void Announcer::Announce(const QString& text) {
    text_ = text;
    // After the events of the focus change under way, so that the focus is presented first.
    QMetaObject::invokeMethod(this, &Announcer::Show, Qt::QueuedConnection);
}

void Announcer::Show() {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace tsrl::forms
