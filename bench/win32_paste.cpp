// A long paste into a typing box, and one edit at the start of a long text (a digit typed,
// Delete, BackSpace, undo and redo, and the undo and redo of a paste there), every way tried:
// wall time from the paste or the edit until the box has laid out and painted its text, in a box
// of the window's size, style and font.
//
//     scripts/wine-run.sh build/windows/bench/win32_paste.exe [DIGITS] [WAY...]
//
// Each way reports its time, the text length the box holds afterwards and its line count, so a
// way that loses text or stops wrapping shows it. The native edits at the start take about half a
// minute each at 10,000 digits, and are left out unless named.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "application.h"
#include "form1.h"
#include "long_text_edit.h"
#include "win32_native.h"

namespace {

constexpr std::size_t kDefaultDigits = 10'000;
constexpr std::size_t kPiece = tsrl::forms::kPastePiece;
constexpr wchar_t kCtrlZ = 0x1A;
// A typing box at 96 dots per inch: 1095 x 375 twips, Tahoma 7.5 points, 1-pixel margins.
constexpr int kBoxWidth = 73;
constexpr int kBoxHeight = 25;
constexpr int kFontPixels = 10;
constexpr int kMargin = 1;
constexpr int kFocusTries = 100;
constexpr DWORD kFocusPollMs = 20;
constexpr DWORD kTypingBox =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_MULTILINE | ES_AUTOVSCROLL;

int CALLBACK BreakAnywhere(LPWSTR /*text*/, int current, int length, int action) {
    switch (action) {
        case WB_ISDELIMITER:
            return TRUE;
        case WB_LEFT:
            return current > 0 ? current - 1 : 0;
        default:
            return current < length ? current + 1 : length;
    }
}

void Replace(HWND box, const std::wstring& text) {
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

struct Way {
    std::string name;
    DWORD style;
    std::function<void(HWND)> prepare;
    std::function<void(HWND, const std::wstring&)> paste;  // timed
    // Untimed, after the box took the text: the steps before the edit that `paste` then makes.
    std::function<void(HWND, const std::wstring&)> before = nullptr;
    bool slow = false;  // run only when named
};

void Send(HWND box, UINT message, WPARAM wParam = 0) {
    SendMessageW(box, message, wParam, 0);
}
void CaretAt(HWND box, WPARAM at) {
    SendMessageW(box, EM_SETSEL, at, static_cast<LPARAM>(at));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

// An edit at the start of the text: its steps before, untimed, and the edit.
struct StartEdit {
    const char* name;
    std::function<void(HWND, const std::wstring&)> before;
    std::function<void(HWND)> edit;
};
const std::vector<StartEdit>& StartEdits() {
    const auto typeAtStart = [](HWND box, const std::wstring&) {
        CaretAt(box, 0);
        Send(box, WM_CHAR, L'5');
    };
    const auto pasteAtStart = [](HWND box, const std::wstring& text) {
        CaretAt(box, 0);
        tsrl::forms::ReplaceSelectionInPieces(box, text);
    };
    const auto undo = [](HWND box) { Send(box, WM_UNDO); };
    const auto then = [undo](auto first) {
        return [first, undo](HWND box, const std::wstring& text) {
            first(box, text);
            undo(box);
        };
    };
    static const std::vector<StartEdit> edits{
        {"type", [](HWND box, const std::wstring&) { CaretAt(box, 0); },
         [](HWND box) { Send(box, WM_CHAR, L'5'); }},
        {"delete", [](HWND box, const std::wstring&) { CaretAt(box, 0); },
         [](HWND box) { Send(box, WM_KEYDOWN, VK_DELETE); }},
        {"backspace", [](HWND box, const std::wstring&) { CaretAt(box, 1); },
         [](HWND box) { Send(box, WM_CHAR, L'\b'); }},
        {"undo", typeAtStart, undo},
        {"redo", then(typeAtStart), undo},
        {"undo-paste", pasteAtStart, undo},
        {"redo-paste", then(pasteAtStart), undo},
    };
    return edits;
}

std::vector<Way> PasteWays() {
    const auto none = [](HWND) {};
    const auto pieces = [](std::size_t piece) {
        return [piece](HWND box, const std::wstring& text) {
            tsrl::forms::ReplaceSelectionInPieces(box, text, piece);
        };
    };
    const auto blankProc = [](HWND box) { tsrl::forms::BreakWordsAtBlanks(box); };
    const auto breakAnywhere = [](HWND box) {
        SendMessageW(box, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&BreakAnywhere));
    };
    const auto atStart = [](HWND box, const std::wstring& text) {
        SendMessageW(box, EM_SETSEL, 0, 0);
        tsrl::forms::ReplaceSelectionInPieces(box, text);
    };
    const auto textBefore = [](HWND box) {
        tsrl::forms::BreakWordsAtBlanks(box);
        tsrl::forms::ReplaceSelectionInPieces(box, std::wstring(kDefaultDigits, L'9'));
    };
    return {
        // What the program does (128-character pieces), other sizes, and its parts alone.
        {"pieces128+blankproc", kTypingBox, blankProc, pieces(128)},
        {"pieces16+blankproc", kTypingBox, blankProc, pieces(16)},
        {"pieces64+blankproc", kTypingBox, blankProc, pieces(64)},
        {"pieces256+blankproc", kTypingBox, blankProc, pieces(256)},
        {"pieces1024+blankproc", kTypingBox, blankProc, pieces(1024)},
        {"pieces64+breakanywhere", kTypingBox, breakAnywhere, pieces(64)},
        {"pieces16", kTypingBox, none, pieces(16)},
        {"pieces64", kTypingBox, none, pieces(64)},
        {"pieces128", kTypingBox, none, pieces(128)},
        {"pieces256", kTypingBox, none, pieces(256)},
        {"pieces1024", kTypingBox, none, pieces(1024)},
        // The worst case left: a paste in front of a long text lays out all that follows.
        {"pieces128+blankproc-front", kTypingBox, textBefore, atStart},
        // The floor, which does not keep the look: one line, no wrapping.
        {"singleline", (kTypingBox & ~DWORD{ES_MULTILINE | ES_AUTOVSCROLL}) | ES_AUTOHSCROLL, none,
         Replace},
        // One message for the whole text, with each native setting tried.
        {"replacesel", kTypingBox, none, Replace},
        {"settext", kTypingBox, none,
         [](HWND box, const std::wstring& text) { SetWindowTextW(box, text.c_str()); }},
        {"breakanywhere", kTypingBox, breakAnywhere, Replace},
        {"blankproc", kTypingBox, blankProc, Replace},
        {"setredraw", kTypingBox, none,
         [](HWND box, const std::wstring& text) {
             SendMessageW(box, WM_SETREDRAW, FALSE, 0);
             Replace(box, text);
             SendMessageW(box, WM_SETREDRAW, TRUE, 0);
             InvalidateRect(box, nullptr, TRUE);
         }},
        {"hidden", kTypingBox, none,
         [](HWND box, const std::wstring& text) {
             ShowWindow(box, SW_HIDE);
             Replace(box, text);
             ShowWindow(box, SW_SHOW);
         }},
        {"limittext", kTypingBox,
         [](HWND box) { SendMessageW(box, EM_SETLIMITTEXT, kDefaultDigits * 2, 0); }, Replace},
        {"fmtlines", kTypingBox, [](HWND box) { SendMessageW(box, EM_FMTLINES, TRUE, 0); },
         Replace},
        {"leftaligned", kTypingBox & ~DWORD{ES_RIGHT}, none, Replace},
        // A right-aligned multi-line EDIT ignores this and wraps all the same.
        {"autohscroll", kTypingBox | ES_AUTOHSCROLL, none, Replace},
        {"noautovscroll", kTypingBox & ~DWORD{ES_AUTOVSCROLL}, none, Replace},
    };
}

// The edits at the start: as the control makes them (with the program's word breaking), and as
// the program does (in pieces, the box kept from drawing until written), with pieces of each size
// and each native setting around it.
std::vector<Way> StartEditWays() {
    const auto quick = [](std::size_t piece) {
        return [piece](HWND box) {
            tsrl::forms::BreakWordsAtBlanks(box);
            tsrl::forms::KeepEditsQuick(box, piece);
        };
    };
    const auto hidden = [](const std::function<void(HWND)>& edit) {
        return [edit](HWND box) {
            ShowWindow(box, SW_HIDE);
            edit(box);
            ShowWindow(box, SW_SHOW);
        };
    };
    // The control told it lost the focus, past every subclass, so that it places no caret.
    const auto unfocused = [](const std::function<void(HWND)>& edit) {
        return [edit](HWND box) {
            const auto control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(box, GCLP_WNDPROC));
            CallWindowProcW(control, box, WM_KILLFOCUS, 0, 0);
            edit(box);
            CallWindowProcW(control, box, WM_SETFOCUS, 0, 0);
        };
    };
    const auto identity = [](const std::function<void(HWND)>& edit) { return edit; };
    const auto fmtLines = [quick](HWND box) {
        quick(kPiece)(box);
        SendMessageW(box, EM_FMTLINES, TRUE, 0);
    };
    const auto breakAnywhere = [](HWND box) {
        SendMessageW(box, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&BreakAnywhere));
        tsrl::forms::KeepEditsQuick(box);
    };
    struct Variant {
        std::string name;
        DWORD style;
        std::function<void(HWND)> prepare;
        std::function<std::function<void(HWND)>(const std::function<void(HWND)>&)> around;
        bool everyEdit;  // else only the typed digit
    };
    const Variant variants[] = {
        {"native", kTypingBox, [](HWND box) { tsrl::forms::BreakWordsAtBlanks(box); }, identity,
         true},
        {"quick128", kTypingBox, quick(kPiece), identity, true},
        {"quick64", kTypingBox, quick(64), identity, false},
        {"quick256", kTypingBox, quick(256), identity, false},
        {"quick512", kTypingBox, quick(512), identity, false},
        {"quick1024", kTypingBox, quick(1024), identity, false},
        {"quick128+hidden", kTypingBox, quick(kPiece), hidden, false},
        {"quick128+unfocused", kTypingBox, quick(kPiece), unfocused, false},
        {"quick128+fmtlines", kTypingBox, fmtLines, identity, false},
        {"quick128+breakanywhere", kTypingBox, breakAnywhere, identity, false},
        {"quick128+noautovscroll", kTypingBox & ~DWORD{ES_AUTOVSCROLL}, quick(kPiece), identity,
         false},
    };
    std::vector<Way> ways;
    for (const Variant& variant : variants) {
        for (const StartEdit& edit : StartEdits()) {
            if (!variant.everyEdit && std::string_view(edit.name) != "type") {
                continue;
            }
            const auto timed = variant.around(edit.edit);
            ways.push_back({variant.name + "-" + edit.name, variant.style, variant.prepare,
                            [timed](HWND box, const std::wstring&) { timed(box); }, edit.before,
                            variant.name == "native"});
        }
    }
    return ways;
}

const std::vector<Way>& Ways() {
    static const std::vector<Way> ways = [] {
        std::vector<Way> all = PasteWays();
        std::ranges::move(StartEditWays(), std::back_inserter(all));
        return all;
    }();
    return ways;
}

void Settle() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
}

// Wall and CPU time of this process, in ms.
struct Clock {
    double wall;
    double cpu;
};
Clock Now() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        constexpr double kTicksPerMs = 10'000.0;
        return static_cast<double>(ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart) /
               kTicksPerMs;
    };
    return {
        1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart),
        ms(kernel) + ms(user)};
}

// One step, timed until the box has laid out and painted it; the box's text length and lines
// afterwards.
void Timed(std::string_view name, HWND box, const std::function<void()>& step) {
    const Clock start = Now();
    step();
    UpdateWindow(box);
    Settle();
    const Clock end = Now();
    std::printf("%-28.*s %9.1f ms %9.1f ms CPU %7d chars %6d lines\n",
                static_cast<int>(name.size()), name.data(), end.wall - start.wall,
                end.cpu - start.cpu, GetWindowTextLengthW(box),
                static_cast<int>(SendMessageW(box, EM_GETLINECOUNT, 0, 0)));
    std::fflush(stdout);
}

// The program's own window: Ctrl+V's WM_PASTE into the second decimal box, whose Change
// procedure reads the text; then, at the start of that text, Delete, a digit typed, Ctrl+Z twice
// and BackSpace, each through the window's rules; then Tab, which judges the text.
void RunWindow(const std::wstring& text) {
    tsrl::Form1 form;
    form.Window().Load();
    form.Window().Show();
    HWND box = tsrl::forms::HandleOf(*form.Window().Find("Text2Dec"));
    for (int tries = 0; tries < kFocusTries && GetFocus() != box; ++tries) {
        SetFocus(box);
        Settle();
        Sleep(kFocusPollMs);
    }
    SendMessageW(box, EM_SETSEL, 0, -1);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    CopyMemory(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    OpenClipboard(box);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    Timed("window paste", box, [box] { Send(box, WM_PASTE); });
    CaretAt(box, 0);  // Ctrl+Home
    Timed("window delete at start", box, [box] { Send(box, WM_KEYDOWN, VK_DELETE); });
    Timed("window type at start", box, [box] { Send(box, WM_CHAR, L'5'); });
    Timed("window undo (Ctrl+Z)", box, [box] { Send(box, WM_CHAR, kCtrlZ); });
    Timed("window redo (Ctrl+Z)", box, [box] { Send(box, WM_CHAR, kCtrlZ); });
    CaretAt(box, 1);
    Timed("window backspace at 1", box, [box] { Send(box, WM_CHAR, L'\b'); });
    Timed("window leave (Tab)", box, [box] { Send(box, WM_KEYDOWN, VK_TAB); });
}

void Run(HWND window, HFONT font, const Way& way, const std::wstring& text) {
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"0", way.style, 10, 10, kBoxWidth,
                               kBoxHeight, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargin, kMargin));
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    way.prepare(box);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    if (way.before) {
        // A long text, a single undo step of its own, and the steps before the edit.
        tsrl::forms::ReplaceSelectionInPieces(box, text);
        SendMessageW(box, EM_EMPTYUNDOBUFFER, 0, 0);
        way.before(box, text);
    }
    Settle();
    Timed(way.name, box, [&] { way.paste(box, text); });
    DestroyWindow(box);
}

}  // namespace

int main(int argc, char** argv) {
    tsrl::forms::Application application(argc, argv);
    const std::size_t digits =
        argc > 1 ? static_cast<std::size_t>(std::strtoul(argv[1], nullptr, 10)) : kDefaultDigits;
    std::wstring text(digits, L'0');
    for (std::size_t i = 0; i < digits; ++i) {
        text[i] = static_cast<wchar_t>(L'0' + (i * 7 + 3) % 10);
    }
    HWND window = CreateWindowExW(0, L"STATIC", L"paste", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HFONT font = CreateFontW(-kFontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    Settle();
    std::printf("%zu digits into a %dx%d-pixel box\n", digits, kBoxWidth, kBoxHeight);
    if (argc <= 2 || std::string_view(argv[2]) == "window") {
        RunWindow(text);
    }
    for (const Way& way : Ways()) {
        bool chosen = argc <= 2 && !way.slow;
        for (int i = 2; i < argc; ++i) {
            chosen = chosen || std::string_view(argv[i]) == way.name;
        }
        if (chosen) {
            Run(window, font, way, text);
        }
    }
    DeleteObject(font);
    DestroyWindow(window);
    return 0;
}
