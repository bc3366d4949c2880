#include "box_edit.h"

#include <QEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCursor>
#include <algorithm>

#include "qt_text.h"

namespace tsrl::forms {

void BoxEdit::insertFromMimeData(const QMimeData* source) {
    const QString text = source != nullptr && source->hasText() ? source->text() : QString();
    if (!pasteRule_) {
        return;
    }
    if (const std::optional<std::u16string> taken = pasteRule_(text.toStdU16String())) {
        QMimeData plain;
        plain.setText(ToQString(*taken));
        QPlainTextEdit::insertFromMimeData(&plain);
    }
}

// A press on the selected text of a read-only box would start dragging it out, and Qt can start
// that drag again from its autoscroll once the first has taken the release: the window then
// takes no input. There a copy is what is wanted, so a press selects afresh from where it is.
void BoxEdit::mousePressEvent(QMouseEvent* event) {
    if (isReadOnly() && event->button() == Qt::LeftButton &&
        (event->modifiers() & Qt::ShiftModifier) == 0) {
        QTextCursor cursor = textCursor();
        if (cursor.hasSelection()) {
            cursor.clearSelection();
            setTextCursor(cursor);
        }
    }
    QPlainTextEdit::mousePressEvent(event);
}

void BoxEdit::resizeEvent(QResizeEvent* event) {
    CentreFirstLine();
    QPlainTextEdit::resizeEvent(event);
}

void BoxEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        CentreFirstLine();
    }
    QPlainTextEdit::changeEvent(event);
}

void BoxEdit::CentreFirstLine() {
    const int line = fontMetrics().height();
    const int margin = qRound(document()->documentMargin());
    const int top = std::max(0, (height() - line + 1) / 2 - frameWidth() - margin);
    setViewportMargins(0, top, 0, 0);
}

}  // namespace tsrl::forms
