// Reads the running calculator window from another process, as assistive tools do:
//   tsrl_win32_probe       "Name=text" per text box; "fit=" the single-line boxes whose whole
//                          text shows; the client size, DPI and focused control, and
//                          "said=" the live region's text
//   tsrl_win32_probe NAME  the screen point at the middle of that control, "x y"
//   tsrl_win32_probe listen  "listening", then a line per live-region event: the region's text
//                          and per focus event "focus=" the control's name, "other" outside it
// Exits 1 while the window is not there.
#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

#include "form1.h"

namespace {

constexpr UINT kPatienceMs = 2000;

// A window that does not answer in time reads as empty; the caller asks again.
LRESULT Ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatienceMs, &result);
    return static_cast<LRESULT>(result);
}

// A control of the calculator by its name in the layout, or "other".
std::string NameOf(HWND control) {
    const auto& layout = tsrl::kForm1Layout;
    const std::wstring caption(layout.caption.begin(), layout.caption.end());
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(control)) - 1;  // controls from 1 on
    if (GetParent(control) != FindWindowW(nullptr, caption.c_str()) ||
        id >= layout.controls.size()) {
        return "other";
    }
    return std::string(layout.controls[id].name);
}

}  // namespace

int main(int argc, char** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc == 2 && std::string(argv[1]) == "listen") {  // as a screen reader hears
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        SetWinEventHook(
            EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
            [](HWINEVENTHOOK, DWORD, HWND region, LONG, LONG, DWORD, DWORD) {
                std::array<wchar_t, 1024> text{};
                GetWindowTextW(region, text.data(), static_cast<int>(text.size()));
                std::printf("%ls\n", text.data());
            },
            0, 0, WINEVENT_OUTOFCONTEXT);
        SetWinEventHook(
            EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr,
            [](HWINEVENTHOOK, DWORD, HWND control, LONG, LONG, DWORD, DWORD) {
                std::printf("focus=%s\n", NameOf(control).c_str());
            },
            0, 0, WINEVENT_OUTOFCONTEXT);
        std::puts("listening");
        for (MSG message{}; GetMessageW(&message, nullptr, 0, 0) > 0;) {
            DispatchMessageW(&message);
        }
        return 0;
    }
    const auto& layout = tsrl::kForm1Layout;
    const std::wstring caption(layout.caption.begin(), layout.caption.end());
    HWND window = FindWindowW(nullptr, caption.c_str());
    if (window == nullptr || IsWindowVisible(window) == FALSE) {
        return 1;
    }
    const auto controls = layout.controls;
    std::string fit;
    for (int id = 1; const auto& c : controls) {
        HWND box = GetDlgItem(window, id++);
        RECT r{};
        GetWindowRect(box, &r);
        if (argc == 2 && c.name == argv[1]) {
            std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            return 0;
        }
        if (argc == 2 || c.kind != tsrl::forms::ControlKind::TextBox) {
            continue;
        }
        const auto length = Ask(box, WM_GETTEXTLENGTH, 0, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        Ask(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        std::printf("%.*s=%ls\n", static_cast<int>(c.name.size()), c.name.data(), text.c_str());
        // The last character ends a character's width after the one before it.
        const auto x = [&](LRESULT at) {
            return static_cast<short>(LOWORD(Ask(box, EM_POSFROMCHAR, static_cast<WPARAM>(at), 0)));
        };
        RECT inside{};
        GetClientRect(box, &inside);
        if (!c.multiLine && length > 1 && 2 * x(length - 1) - x(length - 2) <= inside.right) {
            fit.append(fit.empty() ? "" : " ").append(c.name);
        }
    }
    if (argc == 2) {
        return 2;
    }
    RECT client{};
    GetClientRect(window, &client);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    const int focus = thread.hwndFocus != nullptr ? GetDlgCtrlID(thread.hwndFocus) : 0;
    const std::string focusName(focus > 0 ? controls[static_cast<std::size_t>(focus - 1)].name
                                          : "");
    std::array<wchar_t, 1024> said{};  // the live region is the one child without an id
    GetWindowTextW(GetDlgItem(window, 0), said.data(), static_cast<int>(said.size()));
    std::printf("said=%ls\nfit=%s\nclient=%ldx%ld\ndpi=%u\nfocus=%s\n", said.data(), fit.c_str(),
                client.right, client.bottom, GetDpiForSystem(), focusName.c_str());
    return 0;
}
