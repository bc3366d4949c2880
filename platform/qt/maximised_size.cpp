#include "maximised_size.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace tsrl::forms {
namespace {

class MaximisedSize final : public QObject {
  public:
    explicit MaximisedSize(QWidget& window)
        : QObject(&window), window_(window), fixed_(window.minimumSize()) {
        // The request goes out as the state changes, before the compositor's answer comes in.
        connect(window.windowHandle(), &QWindow::windowStateChanged, this,
                [this](Qt::WindowState state) {
                    if (state == Qt::WindowMaximized) {
                        window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
                    }
                });
        window.installEventFilter(this);
    }

    // Fixed again only once the compositor has given the window its own size back: fixed before,
    // it would leave the maximised size too early.
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Resize && window_.size() == fixed_ &&
            window_.maximumSize() != fixed_ && !window_.isMaximized()) {
            window_.setMaximumSize(fixed_);
        }
        return false;
    }

  private:
    QWidget& window_;
    QSize fixed_;
};

}  // namespace

void AcceptMaximisedSize(QWidget& window) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
        window.windowHandle() != nullptr) {
        new MaximisedSize(window);  // a child of the window
    }
}

}  // namespace tsrl::forms
