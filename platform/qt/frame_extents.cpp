#include "frame_extents.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace tsrl::forms {
namespace {

// A window manager answers at once; this only bounds the wait for one that never does.
constexpr auto kLongestWait = std::chrono::milliseconds(1000);
constexpr auto kPoll = std::chrono::milliseconds(1);
constexpr std::uint32_t kMostValues = 1024;

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_intern_atom_cookie_t AskAtom(xcb_connection_t* connection, const char* name) {
    return xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
}

xcb_atom_t AtomOf(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr),
                                               &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The 32-bit values of a window's property; none if it is not set.
std::vector<std::uint32_t> ValuesOf(xcb_connection_t* connection,
                                    xcb_get_property_cookie_t cookie) {
    const Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr),
                                                &std::free);
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4;
    return {values, values + count};
}

xcb_get_property_cookie_t AskValues(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t property, xcb_atom_t type) {
    return xcb_get_property(connection, 0, window, property, type, 0, kMostValues);
}

// The root the window is on: the display's only one, as most are, without asking the server.
xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (xcb_setup_roots_length(setup) == 1) {
        return xcb_setup_roots_iterator(setup).data->root;
    }
    const Owned<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
    return tree ? tree->root : xcb_window_t{XCB_WINDOW_NONE};
}

}  // namespace

// The twin the manager was asked about, and the manager's list of what it supports, not yet read.
struct FrameExtentsRequest::Pending {
    xcb_connection_t* connection = nullptr;
    std::unique_ptr<QWidget> twin;
    xcb_atom_t request = XCB_ATOM_NONE;
    xcb_atom_t extents = XCB_ATOM_NONE;
    xcb_get_property_cookie_t supported{};
    bool supportedRead = false;

    ~Pending() {
        if (!supportedRead) {
            xcb_discard_reply(connection, supported.sequence);
        }
    }
};

FrameExtentsRequest::FrameExtentsRequest() = default;
FrameExtentsRequest::FrameExtentsRequest(std::unique_ptr<Pending> pending)
    : pending_(std::move(pending)) {}
FrameExtentsRequest::FrameExtentsRequest(FrameExtentsRequest&&) noexcept = default;
FrameExtentsRequest& FrameExtentsRequest::operator=(FrameExtentsRequest&&) noexcept = default;
FrameExtentsRequest::~FrameExtentsRequest() = default;

FrameExtentsRequest Ask(QWidget& window) {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || QGuiApplication::platformName() != QStringLiteral("xcb") ||
        x11->connection() == nullptr) {
        return {};  // offscreen offers the interface too, without an X server behind it
    }
    xcb_connection_t* connection = x11->connection();
    // The names asked first, so that the server answers them while Qt makes the twin.
    const auto requestCookie = AskAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const auto extentsCookie = AskAtom(connection, "_NET_FRAME_EXTENTS");
    const auto supportedCookie = AskAtom(connection, "_NET_SUPPORTED");
    xcb_flush(connection);
    // Asked for an unmapped twin with the same flags and size: creating the window itself now
    // would make Qt place it by its client area instead of its frame.
    auto twin = std::make_unique<QWidget>(nullptr, window.windowFlags());
    twin->setFixedSize(window.size());
    const auto id = static_cast<xcb_window_t>(twin->winId());
    const xcb_window_t root = RootOf(connection, id);
    const xcb_atom_t request = AtomOf(connection, requestCookie);
    const xcb_atom_t extents = AtomOf(connection, extentsCookie);
    const xcb_atom_t supported = AtomOf(connection, supportedCookie);
    if (root == XCB_WINDOW_NONE || request == XCB_ATOM_NONE) {
        return {};
    }
    // Sent before knowing whether the manager takes it, which is read with the answer: without a
    // manager nobody hears it.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    const auto supportedList = AskValues(connection, root, supported, XCB_ATOM_ATOM);
    xcb_flush(connection);
    auto pending = std::make_unique<FrameExtentsRequest::Pending>();
    pending->connection = connection;
    pending->twin = std::move(twin);
    pending->request = request;
    pending->extents = extents;
    pending->supported = supportedList;
    return FrameExtentsRequest(std::move(pending));
}

QMargins FrameExtentsRequest::Answer() {
    const std::unique_ptr<Pending> pending = std::move(pending_);
    if (!pending) {
        return {};
    }
    xcb_connection_t* connection = pending->connection;
    pending->supportedRead = true;
    if (std::ranges::count(ValuesOf(connection, pending->supported), pending->request) == 0) {
        return {};
    }
    const auto id = static_cast<xcb_window_t>(pending->twin->winId());
    // Polled rather than waited for as an event: the events belong to Qt's loop. The manager has
    // mostly answered by now, while the widgets were built.
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    while (true) {
        // Left, right, top, bottom, in device pixels.
        const auto v =
            ValuesOf(connection, AskValues(connection, id, pending->extents, XCB_ATOM_CARDINAL));
        if (v.size() == 4) {
            const qreal ratio = pending->twin->devicePixelRatioF();
            const auto logical = [ratio](std::uint32_t pixels) {
                return qRound(static_cast<qreal>(pixels) / ratio);
            };
            return {logical(v[0]), logical(v[2]), logical(v[1]), logical(v[3])};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return {};
        }
        std::this_thread::sleep_for(kPoll);
    }
}

}  // namespace tsrl::forms
