#include "box_style.h"

#include <QPlainTextEdit>

namespace tsrl::forms {

BoxStyle::BoxStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

void BoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                             QPainter* painter, const QWidget* widget) const {
    // A multi-line box draws the single-line box's panel: its background and its frame, focus
    // mark included.
    if (element == PE_Frame && qobject_cast<const QPlainTextEdit*>(widget) != nullptr) {
        element = PE_PanelLineEdit;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace tsrl::forms
