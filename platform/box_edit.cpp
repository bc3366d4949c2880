#include "box_edit.h"

#include <QMimeData>
#include <QRegularExpression>

namespace tsrl::forms {

QString WithoutLineBreaks(QString text) {
    static const QRegularExpression kTrailing(
        QStringLiteral("(?:\\r\\n|[\\r\\n\\x{2028}\\x{2029}])+$"));
    static const QRegularExpression kBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    text.remove(kTrailing);
    text.replace(kBreak, QStringLiteral(" "));
    return text;
}

void BoxEdit::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData plain;
    plain.setText(WithoutLineBreaks(source->text()));
    QPlainTextEdit::insertFromMimeData(&plain);
}

}  // namespace tsrl::forms
