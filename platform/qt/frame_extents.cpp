#include "frame_extents.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace tsrl::forms {
namespace {

// A window manager answers at once; this only bounds the wait for one that never does.
constexpr auto kLongestWait = std::chrono::milliseconds(1000);
constexpr auto kPoll = std::chrono::milliseconds(2);
constexpr std::uint32_t kMostValues = 1024;

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a window's property; none if it is not set.
std::vector<std::uint32_t> Values(xcb_connection_t* connection, xcb_window_t window,
                                  xcb_atom_t property, xcb_atom_t type) {
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, type, 0, kMostValues),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4;
    return {values, values + count};
}

}  // namespace

QMargins FrameExtents(QWidget& window) {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || QGuiApplication::platformName() != QStringLiteral("xcb") ||
        x11->connection() == nullptr) {
        return {};  // offscreen offers the interface too, without an X server behind it
    }
    xcb_connection_t* connection = x11->connection();
    // Asked for an unmapped twin with the same flags and size: creating the window itself now
    // would make Qt place it by its client area instead of its frame.
    QWidget twin(nullptr, window.windowFlags());
    twin.setFixedSize(window.size());
    const auto id = static_cast<xcb_window_t>(twin.winId());
    const Owned<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr), &std::free);
    const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
    if (!tree || std::ranges::count(Values(connection, tree->root,
                                           Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM),
                                    request) == 0) {
        return {};
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, tree->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    // Polled rather than waited for as an event: the events belong to Qt's loop.
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    while (std::chrono::steady_clock::now() < deadline) {
        // Left, right, top, bottom, in device pixels.
        const auto v = Values(connection, id, extents, XCB_ATOM_CARDINAL);
        if (v.size() == 4) {
            const qreal ratio = twin.devicePixelRatioF();
            const auto logical = [ratio](std::uint32_t pixels) {
                return qRound(static_cast<qreal>(pixels) / ratio);
            };
            return {logical(v[0]), logical(v[2]), logical(v[1]), logical(v[3])};
        }
        std::this_thread::sleep_for(kPoll);
    }
    return {};
}

}  // namespace tsrl::forms
