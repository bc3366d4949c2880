// Reads the running calculator window from another process, as assistive tools do:
//   tsrl_win32_probe           one line per text box, "Name=text", then "focus=Name" and
//                              "beeps=N"
//   tsrl_win32_probe NAME      the screen point at the middle of that control, "x y"
// Exits 1 while the window is not there.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "form1.h"
#include "native_form.h"

namespace {

constexpr UINT kPatienceMs = 2000;

std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// A window that does not answer in time reads as empty; the caller asks again.
LRESULT Ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatienceMs, &result);
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND control) {
    const auto length = Ask(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    Ask(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const auto& layout = tsrl::kForm1Layout;
    const std::wstring caption(layout.caption.begin(), layout.caption.end());
    HWND window = FindWindowW(nullptr, caption.c_str());
    if (window == nullptr || IsWindowVisible(window) == FALSE) {
        return 1;
    }
    const auto controls = layout.controls;
    if (argc == 2) {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].name == argv[1]) {
                RECT r{};
                GetWindowRect(GetDlgItem(window, static_cast<int>(i + 1)), &r);
                std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
                return 0;
            }
        }
        return 2;
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind == tsrl::forms::ControlKind::TextBox) {
            const std::string name(controls[i].name);
            std::printf("%s=%s\n", name.c_str(),
                        Utf8(TextOf(GetDlgItem(window, static_cast<int>(i + 1)))).c_str());
        }
    }
    // The single-line boxes whose whole text shows, and the client area against the DPI.
    std::string fit;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        HWND box = GetDlgItem(window, static_cast<int>(i + 1));
        const auto last = Ask(box, WM_GETTEXTLENGTH, 0, 0) - 1;
        const auto x = [&](LRESULT at) {
            return static_cast<short>(LOWORD(Ask(box, EM_POSFROMCHAR, static_cast<WPARAM>(at), 0)));
        };
        RECT client{};
        GetClientRect(box, &client);
        if (!controls[i].multiLine && controls[i].kind == tsrl::forms::ControlKind::TextBox &&
            last > 0 && 2 * x(last) - x(last - 1) <= client.right) {
            fit += std::string(fit.empty() ? "" : " ") + std::string(controls[i].name);
        }
    }
    RECT client{};
    GetClientRect(window, &client);
    std::printf("fit=%s\nclient=%ldx%ld\ndpi=%u\n", fit.c_str(), client.right, client.bottom,
                GetDpiForSystem());
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    const int focus = thread.hwndFocus != nullptr ? GetDlgCtrlID(thread.hwndFocus) : 0;
    const std::string focusName(focus > 0 ? controls[static_cast<std::size_t>(focus - 1)].name
                                          : "");
    std::printf("focus=%s\nbeeps=%lld\n", focusName.c_str(),
                reinterpret_cast<long long>(GetPropW(window, tsrl::forms::kBeepCountProperty)));
    return 0;
}
