#include "controls.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

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

void Select(QWidget* widget, int start, int end) {
    const int length = LengthOf(widget);
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
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

void Control::SetFocus() {
    form_.RequestFocus(*this);
}

std::u16string TextBox::Text() const {
    const QString text = TextOf(WidgetOf(*this));
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

void TextBox::SetText(std::u16string_view text) {
    form_.WriteText(*this, text);
}

void TextBox::SetSelStart(int start) {
    Select(WidgetOf(*this), start, start);
}

void TextBox::SetSelLength(int length) {
    const int start = SelectionOf(WidgetOf(*this)).first;
    Select(WidgetOf(*this), start, start + std::max(length, 0));
}

int TextBox::SelStart() const {
    return SelectionOf(WidgetOf(*this)).first;
}

int TextBox::SelLength() const {
    const auto [start, end] = SelectionOf(WidgetOf(*this));
    return end - start;
}

bool CommandButton::Enabled() const {
    return WidgetOf(*this)->isEnabled();
}

void CommandButton::SetEnabled(bool enabled) {
    WidgetOf(*this)->setEnabled(enabled);
}

}  // namespace tsrl::forms
