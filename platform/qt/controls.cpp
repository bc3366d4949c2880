#include "controls.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include "form.h"
#include "qt_native.h"

namespace tsrl::forms {
namespace {

QPlainTextEdit* AsMultiLine(QWidget* widget) {
    return qobject_cast<QPlainTextEdit*>(widget);
}
QLineEdit* AsSingleLine(QWidget* widget) {
    return qobject_cast<QLineEdit*>(widget);
}

// In UTF-16 code units, without copying the text.
int LengthOf(QWidget* widget) {
    if (auto* edit = AsMultiLine(widget)) {
        return edit->document()->characterCount() - 1;  // less the final paragraph separator
    }
    return static_cast<int>(AsSingleLine(widget)->text().size());
}

QString TextOf(QWidget* widget) {
    if (auto* edit = AsMultiLine(widget)) {
        return edit->toPlainText();
    }
    return AsSingleLine(widget)->text();
}

// Selection as (start, end) in UTF-16 code units, start <= end.
std::pair<int, int> SelectionOf(QWidget* widget) {
    if (auto* edit = AsMultiLine(widget)) {
        const QTextCursor cursor = edit->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
    const QLineEdit* line = AsSingleLine(widget);
    if (!line->hasSelectedText()) {
        return {line->cursorPosition(), line->cursorPosition()};
    }
    return {line->selectionStart(), line->selectionEnd()};
}

void SelectIn(QWidget* widget, int start, int end) {
    if (auto* edit = AsMultiLine(widget)) {
        QTextCursor cursor = edit->textCursor();
        if (cursor.anchor() == start && cursor.position() == end) {
            return;  // moving a cursor in a long text costs a layout pass
        }
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        if (start == 0) {
            // A whole text selected is shown from its start, not scrolled to its end.
            edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->minimum());
        }
    } else if (start == end) {
        AsSingleLine(widget)->setCursorPosition(start);
    } else {
        AsSingleLine(widget)->setSelection(start, end - start);
    }
}

}  // namespace

std::u16string TextBox::Text() const {
    const QString text = TextOf(WidgetOf(*this));
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

int TextBox::Length() const {
    return LengthOf(WidgetOf(*this));
}

std::pair<int, int> TextBox::Selection() const {
    return SelectionOf(WidgetOf(*this));
}

void TextBox::Select(int start, int end) {
    SelectIn(WidgetOf(*this), start, end);
}

bool CommandButton::Enabled() const {
    return WidgetOf(*this)->isEnabled();
}

void CommandButton::SetEnabled(bool enabled) {
    WidgetOf(*this)->setEnabled(enabled);
}

}  // namespace tsrl::forms
