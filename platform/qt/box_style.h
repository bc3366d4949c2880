// The engine's look: Fusion, with one frame for every text box, single- or multi-line, that
// shows where the focus is.
#pragma once

#include <QProxyStyle>

namespace tsrl::forms {

class BoxStyle final : public QProxyStyle {
  public:
    BoxStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

}  // namespace tsrl::forms
