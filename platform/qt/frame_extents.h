// The frame a window manager will put around a top-level window, known before it first shows,
// so that the window can be placed by its outer size.
#pragma once

#include <QMargins>
#include <memory>

class QWidget;

namespace tsrl::forms {

// A question to the window manager in flight: asked as soon as the window exists, answered once
// the window is placed, so that the manager's round trip runs while the widgets are built.
class FrameExtentsRequest {
  public:
    struct Pending;

    FrameExtentsRequest();
    explicit FrameExtentsRequest(std::unique_ptr<Pending> pending);
    FrameExtentsRequest(FrameExtentsRequest&&) noexcept;
    FrameExtentsRequest& operator=(FrameExtentsRequest&&) noexcept;
    ~FrameExtentsRequest();

    // The frame the manager said it will add; waits, boundedly, only if it has not said yet.
    // None without a window manager that answers, or when asked again.
    QMargins Answer();

  private:
    std::unique_ptr<Pending> pending_;
};

// On X11, asks the window manager for the frame extents of an unmapped window like this one, with
// its flags and size already set. Asks nothing on platforms where a client cannot place its
// window.
FrameExtentsRequest Ask(QWidget& window);

}  // namespace tsrl::forms
