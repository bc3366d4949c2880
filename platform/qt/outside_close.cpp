#include "outside_close.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

namespace tsrl::forms {
namespace {

constexpr std::uint8_t kSentByClient = 0x80;  // the flag of an event that a client sent

class DestroyWatch final : public QAbstractNativeEventFilter {
  public:
    explicit DestroyWatch(QWidget& window)
        : window_(&window), id_(static_cast<xcb_window_t>(window.winId())) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
        if (type != "xcb_generic_event_t") {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & ~kSentByClient) != XCB_DESTROY_NOTIFY) {
            return false;
        }
        const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
        // Qt's own teardown destroys it too, after the window is gone or hidden.
        if (destroyed->window == id_ && !window_.isNull() && window_->isVisible()) {
            QCoreApplication::exit(0);
        }
        return false;
    }

  private:
    QPointer<QWidget> window_;
    xcb_window_t id_;
};

}  // namespace

void EndWhenDestroyedOutside(QWidget& window) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    static DestroyWatch watch(window);  // one window per program
    QCoreApplication::instance()->installNativeEventFilter(&watch);
}

}  // namespace tsrl::forms
