#include "box_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QWidget>
#include <algorithm>

#include "box_edit.h"
#include "qt_text.h"
#include "widgets.h"

namespace tsrl::forms {
namespace {

// What both kinds of box tell alike: the text, its length, the selection as one span, and
// no character geometry or attributes.
class BoxTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit BoxTextAccessible(QWidget* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? TextOf(widget()) : QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !ReadOnly();
        state.readOnly = ReadOnly();
        state.selectableText = true;
        return state;
    }

    void selection(int index, int* start, int* end) const override {
        const auto [from, to] = SelectionOf(widget());
        *start = *end = 0;
        if (index == 0 && from != to) {
            *start = from;
            *end = to;
        }
    }
    int selectionCount() const override {
        const auto [from, to] = SelectionOf(widget());
        return from != to ? 1 : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    QString text(int start, int end) const override {
        return TextOf(widget()).mid(start, end - start);
    }
    int characterCount() const override { return LengthOf(widget()); }
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    QString attributes(int /*offset*/, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

  protected:
    virtual bool ReadOnly() const = 0;
};

// Qt's own interface of a single-line box reports every character as a text run of its own that
// ends where it starts; a reader that splits a line at the runs then drops its last character.
// This one reports the line as one run and is otherwise a read-mostly text.
class LineBoxAccessible final : public BoxTextAccessible {
  public:
    explicit LineBoxAccessible(QLineEdit* edit) : BoxTextAccessible(edit) {}

    void removeSelection(int /*index*/) override { Edit()->deselect(); }
    void setSelection(int /*index*/, int start, int end) override {
        Edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    void scrollToSubstring(int /*start*/, int /*end*/) override {}

  protected:
    bool ReadOnly() const override { return Edit()->isReadOnly(); }

  private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

// Qt's own interface of a multi-line box writes into it for any caller, even where the box is
// read-only or a user could not type. This one takes an edit by the editing rules: only into a
// typing box that holds the focus, whose LostFocus then judges it, and without line breaks.
class MultiLineBoxAccessible final : public BoxTextAccessible,
                                     public QAccessibleEditableTextInterface {
  public:
    explicit MultiLineBoxAccessible(QPlainTextEdit* edit) : BoxTextAccessible(edit) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::EditableTextInterface && !ReadOnly()) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return BoxTextAccessible::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = BoxTextAccessible::state();
        state.multiLine = true;
        return state;
    }

    // QAccessibleTextInterface.
    void removeSelection(int /*index*/) override { setCursorPosition(cursorPosition()); }
    void setSelection(int /*index*/, int start, int end) override {
        Edit()->setTextCursor(Span(start, end));
    }
    int cursorPosition() const override { return Edit()->textCursor().position(); }
    void setCursorPosition(int position) override {
        Edit()->setTextCursor(Span(position, position));
    }
    void scrollToSubstring(int start, int /*end*/) override {
        Edit()->setTextCursor(Span(start, start));
        Edit()->ensureCursorVisible();
    }

    // QAccessibleEditableTextInterface.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        const std::optional<Inserted> taken =
            static_cast<BoxEdit*>(Edit())->Taken(text.toStdU16String(), Insertion::Assistive);
        if (!taken) {
            return;
        }
        QTextCursor cursor = Span(start, end);
        cursor.insertText(ToQString(taken->text));
        Edit()->setTextCursor(cursor);
    }

  protected:
    bool ReadOnly() const override { return Edit()->isReadOnly(); }

  private:
    QPlainTextEdit* Edit() const { return static_cast<QPlainTextEdit*>(widget()); }
    QTextCursor Span(int start, int end) const {
        QTextCursor cursor(Edit()->document());
        const int last = characterCount();
        cursor.setPosition(std::clamp(start, 0, last));
        cursor.setPosition(std::clamp(end, 0, last), QTextCursor::KeepAnchor);
        return cursor;
    }
};

}  // namespace

QAccessibleInterface* BoxAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("QLineEdit")) {
        return new LineBoxAccessible(static_cast<QLineEdit*>(object));
    }
    if (className == QLatin1String("QPlainTextEdit")) {
        return new MultiLineBoxAccessible(static_cast<QPlainTextEdit*>(object));
    }
    return nullptr;
}

}  // namespace tsrl::forms
