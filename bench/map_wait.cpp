// Starts a program on the current X display and tells how long it took to map its top-level
// window (MapNotify on the root) and to draw into it (the first Damage after the map), counted
// from just before its exec. Meant for a display of its own with no window manager: anything
// drawn there after the map is the program's. Then it keeps the program running until standard
// input closes, so that the caller can read its memory and CPU time while it idles, and ends it
// (its whole process group) on the way out.
//
// --managed: a window manager runs on the display. The map timed is then that of the manager's
// frame holding the program's window, when a desktop user first sees it, and only drawing inside
// the program's window counts, not the manager's decorations.
//
//   tsrl_map_wait [--managed] [--timeout-ms N] [--paint-timeout-ms N] -- PROGRAM [ARGS...]
//
// Prints one line once the window is mapped and drawn (or the paint wait timed out):
//   pid=P window=0xW map_ms=M paint_ms=D
// D is "-" when not seen. Every line written to its input after that is answered with
// "damage_events=N focused=F": the drawing operations seen since the previous line, so that an
// idle window that keeps repainting shows, and whether the window has the keyboard focus. Exit
// status: 0 on success, 2 on usage or X errors, 3 when the program could not start, or exited or
// timed out before mapping a window.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>
#if TSRL_HAVE_XCB_DAMAGE
#include <xcb/damage.h>
#endif

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

volatile sig_atomic_t childGroup = 0;

std::int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::string Millis(std::optional<std::int64_t> ns) {
    if (!ns) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(*ns) / 1e6);
    return text;
}

// Whoever stops us stops the program too: it is ours and nobody else knows it.
void OnSignal(int signal) {
    if (childGroup > 0) {
        kill(-childGroup, SIGKILL);
    }
    _exit(128 + signal);
}

[[noreturn]] void Fail(int status, const char* what) {
    std::fprintf(stderr, "tsrl_map_wait: %s\n", what);
    if (childGroup > 0) {
        kill(-childGroup, SIGKILL);
    }
    std::exit(status);
}

struct Options {
    bool managed = false;
    int timeoutMs = 30'000;
    int paintTimeoutMs = 5'000;
    std::vector<char*> program;
};

Options Parse(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--managed") {
            options.managed = true;
        } else if ((arg == "--timeout-ms" || arg == "--paint-timeout-ms") && i + 1 < argc) {
            (arg == "--timeout-ms" ? options.timeoutMs : options.paintTimeoutMs) =
                std::atoi(argv[++i]);
        } else {
            Fail(2,
                 "usage: tsrl_map_wait [--managed] [--timeout-ms N] [--paint-timeout-ms N] -- "
                 "PROGRAM...");
        }
    }
    for (; i < argc; ++i) {
        options.program.push_back(argv[i]);
    }
    if (options.program.empty()) {
        Fail(2, "no program given");
    }
    options.program.push_back(nullptr);
    return options;
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::optional<std::uint32_t> WindowPid(xcb_connection_t* x, xcb_window_t window) {
    const char name[] = "_NET_WM_PID";
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 1, sizeof name - 1, name), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    Reply<xcb_get_property_reply_t> property(
        xcb_get_property_reply(
            x, xcb_get_property(x, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (!property || xcb_get_property_value_length(property.get()) != 4) {
        return std::nullopt;
    }
    std::uint32_t pid = 0;
    std::memcpy(&pid, xcb_get_property_value(property.get()), sizeof pid);
    return pid;
}

// The program's window within a manager's frame: frames nest it a level or two deep.
std::optional<xcb_window_t> ClientOf(xcb_connection_t* x, xcb_window_t frame, std::uint32_t pid,
                                     int depth = 3) {
    if (WindowPid(x, frame) == pid) {
        return frame;
    }
    if (depth == 0) {
        return std::nullopt;
    }
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(x, xcb_query_tree(x, frame), nullptr),
                                       &std::free);
    if (!tree) {
        return std::nullopt;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (auto client = ClientOf(x, children[i], pid, depth - 1)) {
            return client;
        }
    }
    return std::nullopt;
}

// A window's area in root coordinates.
xcb_rectangle_t AreaOnRoot(xcb_connection_t* x, xcb_window_t window, xcb_window_t root) {
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr), &std::free);
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(x, xcb_translate_coordinates(x, window, root, 0, 0),
                                        nullptr),
        &std::free);
    if (!geometry || !origin) {
        return {};
    }
    return {origin->dst_x, origin->dst_y, geometry->width, geometry->height};
}

bool Overlap(const xcb_rectangle_t& a, const xcb_rectangle_t& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

// Starts the program in its own process group; returns its pid and the time just before exec.
std::pair<pid_t, std::int64_t> Launch(const Options& options, int xcbFd) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        Fail(2, "pipe2 failed");
    }
    const pid_t pid = fork();
    if (pid < 0) {
        Fail(2, "fork failed");
    }
    if (pid == 0) {
        close(pipeFds[0]);
        close(xcbFd);
        setpgid(0, 0);
        signal(SIGTERM, SIG_DFL);
        signal(SIGINT, SIG_DFL);
        signal(SIGHUP, SIG_DFL);
        signal(SIGPIPE, SIG_DFL);  // an ignored signal would stay ignored across exec
        const std::int64_t start = NowNs();
        if (write(pipeFds[1], &start, sizeof start) != sizeof start) {
            _exit(127);
        }
        execvp(options.program[0], options.program.data());
        const int error = errno;
        (void)!write(pipeFds[1], &error, sizeof error);
        _exit(127);
    }
    setpgid(pid, pid);  // also here, so a kill of the group cannot race the child's own call
    childGroup = pid;
    close(pipeFds[1]);
    std::int64_t start = 0;
    if (read(pipeFds[0], &start, sizeof start) != sizeof start) {
        Fail(3, "the program did not start");
    }
    // End of file means the exec went through; otherwise the child sent its errno.
    int error = 0;
    if (read(pipeFds[0], &error, sizeof error) == sizeof error) {
        std::fprintf(stderr, "tsrl_map_wait: cannot run %s: %s\n", options.program[0],
                     std::strerror(error));
        Fail(3, "exec failed");
    }
    close(pipeFds[0]);
    return {pid, start};
}

struct Watch {
    xcb_connection_t* x = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    bool managed = false;
    xcb_rectangle_t clientArea{};  // managed: where the program's window is, on the root
    std::uint8_t damageEvent = 0;  // 0: no Damage extension
    pid_t pid = 0;
    xcb_window_t window = XCB_WINDOW_NONE;
    std::int64_t start = 0;
    std::optional<std::int64_t> map;
    std::optional<std::int64_t> paint;
    long damageSinceMark = 0;

    void Handle(xcb_generic_event_t* event, std::int64_t now) {
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_MAP_NOTIFY && !map) {
            const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (managed) {
                // The manager's own windows hold none of the program's.
                if (const auto client = ClientOf(x, e->window, static_cast<std::uint32_t>(pid))) {
                    map = now - start;
                    window = *client;
                    clientArea = AreaOnRoot(x, window, root);
                }
                return;
            }
            if (e->override_redirect) {
                return;
            }
            // No other client maps windows on this display, but a stray one is not ours.
            const std::optional<std::uint32_t> owner = WindowPid(x, e->window);
            if (owner && *owner != static_cast<std::uint32_t>(pid)) {
                return;
            }
            map = now - start;
            window = e->window;
        } else if (damageEvent != 0 && type == damageEvent && map) {
            // Nothing else draws on this display: any damage after the map is the program's, or
            // with a manager, any inside the program's window.
#if TSRL_HAVE_XCB_DAMAGE
            if (managed &&
                !Overlap(reinterpret_cast<xcb_damage_notify_event_t*>(event)->area, clientArea)) {
                return;
            }
#endif
            if (!paint) {
                paint = now - start;
            }
            ++damageSinceMark;
        }
    }

    // Whether the keyboard focus is in the program's window: an active window blinks its caret.
    bool Focused() const {
        Reply<xcb_get_input_focus_reply_t> focus(
            xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr), &std::free);
        return focus && focus->focus == window;
    }

    bool Done() const {
        return map && (paint || damageEvent == 0);
    }

    // Handles what the server has sent so far.
    void Drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            Handle(event, NowNs());
            std::free(event);
        }
        if (xcb_connection_has_error(x) != 0) {
            Fail(2, "lost the X connection");
        }
    }
};

bool Exited(int pidfd) {
    pollfd fd{pidfd, POLLIN, 0};
    return poll(&fd, 1, 0) > 0;
}

void EndChild(pid_t pid, int pidfd) {
    kill(-pid, SIGTERM);
    pollfd fd{pidfd, POLLIN, 0};
    if (poll(&fd, 1, 2'000) <= 0) {
        kill(-pid, SIGKILL);
    }
    waitpid(pid, nullptr, 0);
    kill(-pid, SIGKILL);  // whatever it left behind in its group
    childGroup = 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    signal(SIGTERM, OnSignal);
    signal(SIGINT, OnSignal);
    signal(SIGHUP, OnSignal);
    signal(SIGPIPE, SIG_IGN);

    int screenNumber = 0;
    Watch watch;
    watch.x = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(watch.x) != 0) {
        Fail(2, "cannot open the display");
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(watch.x));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data->root;
    watch.root = root;
    watch.managed = options.managed;

#if TSRL_HAVE_XCB_DAMAGE
    // Damage on the root covers drawing into every window on the screen, so it is in place
    // before the program can draw at all; a window's own would be created too late at times.
    if (const xcb_query_extension_reply_t* ext = xcb_get_extension_data(watch.x, &xcb_damage_id);
        ext != nullptr && ext->present) {
        // The server refuses Damage requests from a client that has not agreed a version.
        Reply<xcb_damage_query_version_reply_t> version(
            xcb_damage_query_version_reply(watch.x, xcb_damage_query_version(watch.x, 1, 1),
                                           nullptr),
            &std::free);
        if (version) {
            watch.damageEvent = static_cast<std::uint8_t>(ext->first_event + XCB_DAMAGE_NOTIFY);
            xcb_damage_create(watch.x, xcb_generate_id(watch.x), root,
                              XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        }
    }
#endif

    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (Reply<xcb_generic_error_t> error(
            xcb_request_check(watch.x, xcb_change_window_attributes_checked(
                                           watch.x, root, XCB_CW_EVENT_MASK, &mask)),
            &std::free);
        error) {
        Fail(2, "cannot watch the root window");
    }
    watch.Drain();  // the whole screen, reported as damaged when the damage was created

    const int xcbFd = xcb_get_file_descriptor(watch.x);
    const auto [pid, start] = Launch(options, xcbFd);
    watch.pid = pid;
    watch.start = start;
    // Through syscall(): glibc 2.36's <sys/pidfd.h> declares pidfd_open without C linkage.
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) {
        Fail(2, "pidfd_open failed");
    }

    // Waits on the X connection and on the program's end; the timeout only bounds a hang.
    std::int64_t deadline = start + std::int64_t{options.timeoutMs} * 1'000'000;
    bool paintDeadlineSet = false;
    while (!watch.Done()) {
        watch.Drain();
        if (watch.Done()) {
            break;
        }
        if (watch.map && !paintDeadlineSet) {
            deadline = start + *watch.map + std::int64_t{options.paintTimeoutMs} * 1'000'000;
            paintDeadlineSet = true;
        }
        const std::int64_t left = deadline - NowNs();
        if (left <= 0) {
            break;
        }
        pollfd fds[2] = {{xcbFd, POLLIN, 0}, {pidfd, POLLIN, 0}};
        const int ready = poll(fds, 2, static_cast<int>(left / 1'000'000) + 1);
        if (ready < 0 && errno != EINTR) {
            Fail(2, "poll failed");
        }
        if ((fds[1].revents & POLLIN) != 0) {
            watch.Drain();
            if (!watch.map) {
                Fail(3, "the program exited before mapping a window");
            }
            break;
        }
    }
    if (!watch.map) {
        EndChild(pid, pidfd);
        Fail(3, "timed out waiting for the window to be mapped");
    }

    std::printf("pid=%d window=0x%x map_ms=%s paint_ms=%s\n", pid, watch.window,
                Millis(watch.map).c_str(), Millis(watch.paint).c_str());
    std::fflush(stdout);
    watch.damageSinceMark = 0;

    // Holds the program open until the caller is done with it, still reading the X queue.
    // Each line read is answered with the drawing seen since the one before.
    while (!Exited(pidfd)) {
        pollfd fds[3] = {{STDIN_FILENO, POLLIN, 0}, {xcbFd, POLLIN, 0}, {pidfd, POLLIN, 0}};
        if (poll(fds, 3, -1) < 0 && errno != EINTR) {
            break;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            watch.Drain();
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) != 0) {
            char buffer[256];
            const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            watch.Drain();
            for (ssize_t i = 0; i < got; ++i) {
                if (buffer[i] == '\n') {
                    std::printf("damage_events=%ld focused=%d\n", watch.damageSinceMark,
                                watch.Focused() ? 1 : 0);
                    watch.damageSinceMark = 0;
                }
            }
            std::fflush(stdout);
        }
    }
    EndChild(pid, pidfd);
    xcb_disconnect(watch.x);
    return 0;
}
