#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMouseEvent>

#include "keyboard_menu.h"
#include "qt_window.h"

namespace tsrl::forms {

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.get()) {
        if (event->type() == QEvent::Close) {
            router_.Close();
        }
        return false;
    }
    auto it = byWidget_.find(watched);
    if (it == byWidget_.end()) {
        return false;
    }
    const ControlId id = it->second;
    switch (event->type()) {
        case QEvent::FocusIn: {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            router_.FocusIn(id, reason == Qt::MouseFocusReason);
            return false;
        }
        case QEvent::FocusOut: {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            router_.FocusOut(
                id, reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason);
            return false;
        }
        case QEvent::KeyPress:
            return OnKeyPress(id, static_cast<QKeyEvent*>(event));
        case QEvent::ContextMenu:
            if (!router_.TakesEditing(id)) {
                return true;
            }
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
                StartMenuAtFirstItem();
            }
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (!router_.TakesEditing(id)) {
                event->ignore();
                return true;
            }
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return OnPress(id, static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return OnMove(id, watched, static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            if (held_ && held_->box == id &&
                static_cast<QMouseEvent*>(event)->button() == held_->button) {
                return !std::exchange(held_, std::nullopt)->replayed;
            }
            return false;
        default:
            return false;
    }
}

bool QtWindow::OnPress(ControlId id, const QMouseEvent* press) {
    if (replayingPress_) {
        return false;
    }
    const bool primary = press->button() == Qt::LeftButton;
    switch (router_.Press(id, primary, (press->modifiers() & Qt::ShiftModifier) != 0)) {
        case PressOutcome::FocusOnly:
            held_ = HeldPress{id, press->position(), press->button(), false};
            return true;
        case PressOutcome::ClearSelectionAndPass:
            ClearSelection(widgets_[id]);
            return false;
        case PressOutcome::Pass:
            break;
    }
    return false;
}

// A drag from a held press selects from where the press was, as an unheld one would.
bool QtWindow::OnMove(ControlId id, QObject* watched, const QMouseEvent* move) {
    if (!held_ || held_->box != id) {
        return false;
    }
    if (held_->button == Qt::LeftButton && !held_->replayed &&
        (move->position() - held_->at).manhattanLength() >= QApplication::startDragDistance()) {
        held_->replayed = true;
        ClearSelection(widgets_[id]);
        QMouseEvent press(QEvent::MouseButtonPress, held_->at,
                          move->globalPosition() - move->position() + held_->at, Qt::LeftButton,
                          Qt::LeftButton, move->modifiers());
        replayingPress_ = true;
        QCoreApplication::sendEvent(watched, &press);
        replayingPress_ = false;
    }
    return !held_->replayed;
}

bool QtWindow::OnKeyPress(ControlId id, const QKeyEvent* event) {
    // Navigation, not a character typed into the control.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        const bool backwards =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) != 0;
        focusReason_ = backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason;
        router_.Tab(id, backwards);
        focusReason_ = Qt::OtherFocusReason;
        return true;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        OpenMenuFromKeyboard(*widgets_[id]);
        return true;
    }
    const QString text = event->text();
    char16_t key = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        key = kEnterKey;
    } else if (text.size() == 1) {
        key = text.front().unicode();
    } else {
        return false;  // no character, or one beyond 16 bits: not a key press to report
    }
    return router_.Key(id, key) == KeyOutcome::Swallow;
}

}  // namespace tsrl::forms
