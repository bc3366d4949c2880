#include "box_edit.h"

#include <QEvent>
#include <QMimeData>
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
