#include "box_edit.h"

#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>

#include "qt_text.h"
#include "widgets.h"

namespace tsrl::forms {

BoxEdit::BoxEdit(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChanged, this, &BoxEdit::AfterChange);
}

// Inserted as text: Qt's own way first copies a pasted text into a document fragment, a tenth
// of a big paste's time.
void BoxEdit::insertFromMimeData(const QMimeData* source) {
    const QString text = source != nullptr && source->hasText() ? source->text() : QString();
    if (const std::optional<Inserted> taken = Taken(text.toStdU16String(), Insertion::Paste)) {
        ReplaceSelectionOf(this, ToQString(taken->text), dropping_);
    }
}

void BoxEdit::dropEvent(QDropEvent* event) {
    dropping_ = true;
    QPlainTextEdit::dropEvent(event);
    dropping_ = false;
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

// Left to itself, Qt reads the direction of a text from the whole text again at every cursor
// position it works out, and lays the text out again for each, keeping nothing: a pasted megabyte
// took a second to paste and leave. The direction is read once per change here, as Qt would read
// it (an empty box still follows the keyboard), and the box's one line keeps its layout.
void BoxEdit::AfterChange() {
    QTextDocument* text = document();
    const QTextBlock line = text->firstBlock();
    line.layout()->setCacheEnabled(true);
    const Qt::LayoutDirection direction = text->isEmpty()               ? Qt::LayoutDirectionAuto
                                          : line.text().isRightToLeft() ? Qt::RightToLeft
                                                                        : Qt::LeftToRight;
    QTextOption option = text->defaultTextOption();
    if (option.textDirection() != direction) {
        option.setTextDirection(direction);
        text->setDefaultTextOption(option);
    }
}

void BoxEdit::CentreFirstLine() {
    const int line = fontMetrics().height();
    const int margin = qRound(document()->documentMargin());
    const int top = std::max(0, (height() - line + 1) / 2 - frameWidth() - margin);
    setViewportMargins(0, top, 0, 0);
}

}  // namespace tsrl::forms
