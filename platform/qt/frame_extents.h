// The frame a window manager will put around a top-level window, known before it first shows,
// so that the window can be placed by its outer size.
#pragma once

#include <QMargins>

class QWidget;

namespace tsrl::forms {

// On X11, asks the window manager for the frame extents of an unmapped window like this one. None
// without a window manager that answers, and on platforms where a client cannot place its window.
QMargins FrameExtents(QWidget& window);

}  // namespace tsrl::forms
