#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>

#include "keyboard_menu.h"
#include "qt_window.h"

namespace tsrl::forms {
namespace {

Button ToButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return Button::Primary;
        case Qt::MiddleButton:
            return Button::Middle;
        default:
            return Button::Secondary;
    }
}

Point ToPoint(const QPointF& at) {
    const QPoint whole = at.toPoint();
    return {whole.x(), whole.y()};
}

}  // namespace

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    if (router_ == nullptr) {
        return false;
    }
    if (watched == window_.get()) {
        if (event->type() == QEvent::Close) {
            router_->Close();
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
            router_->FocusIn(id, reason == Qt::MouseFocusReason);
            return false;
        }
        case QEvent::FocusOut: {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            router_->FocusOut(
                id, reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason);
            return false;
        }
        case QEvent::KeyPress:
            return OnKeyPress(id, static_cast<QKeyEvent*>(event));
        case QEvent::ContextMenu:
            if (!editing_->TakesEditing(id)) {
                return true;
            }
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
                StartMenuAtFirstItem();
            }
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return OnDrop(id, static_cast<QDropEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return OnPress(id, static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return OnMove(id, watched, static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            return editing_->Release(id, ToButton(static_cast<QMouseEvent*>(event)->button()));
        default:
            return false;
    }
}

bool QtWindow::OnPress(ControlId id, const QMouseEvent* press) {
    if (replayingPress_) {
        return false;
    }
    const bool extending = (press->modifiers() & Qt::ShiftModifier) != 0;
    switch (editing_->Press(id, ToButton(press->button()), extending, ToPoint(press->position()))) {
        case PressOutcome::Hold:
            return true;
        case PressOutcome::ClearSelectionAndPass:
            ClearSelection(widgets_[id]);
            return false;
        case PressOutcome::Pass:
            break;
    }
    return false;
}

bool QtWindow::OnMove(ControlId id, QObject* watched, const QMouseEvent* move) {
    const int distance = QApplication::startDragDistance();
    const MoveOutcome outcome =
        editing_->Move(id, ToPoint(move->position()), (move->buttons() & Qt::LeftButton) != 0,
                       {distance, distance});
    if (const std::optional<Point> held = outcome.replayPressAt) {
        ClearSelection(widgets_[id]);
        const QPointF at(held->x, held->y);
        QMouseEvent press(QEvent::MouseButtonPress, at,
                          move->globalPosition() - move->position() + at, Qt::LeftButton,
                          Qt::LeftButton, move->modifiers());
        replayingPress_ = true;
        QCoreApplication::sendEvent(watched, &press);
        replayingPress_ = false;
    }
    return outcome.swallow;
}

// Only a drop the rules take shows where it would go; one that replaces the selection goes in
// there, and any other where it points, through the paste rule.
bool QtWindow::OnDrop(ControlId id, QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    const QString text = data != nullptr && data->hasText() ? data->text() : QString();
    const std::optional<Inserted> taken =
        editing_->Insert(id, text.toStdU16String(), Insertion::Drop);
    if (!taken) {
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop || !taken->atSelection) {
        return false;
    }
    ReplaceSelectionOf(widgets_[id], ToQString(taken->text));
    event->acceptProposedAction();
    return true;
}

bool QtWindow::OnKeyPress(ControlId id, const QKeyEvent* event) {
    // Navigation, not a character typed into the control.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        const bool backwards =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) != 0;
        focusReason_ = backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason;
        router_->Tab(id, backwards);
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
    return router_->Key(id, key) == KeyOutcome::Swallow;
}

}  // namespace tsrl::forms
