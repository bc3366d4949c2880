// A long paste into a typing box, every way tried: wall time from the paste until the box has
// laid out and painted its text, in a box of the window's size, style and font.
//
//     scripts/wine-run.sh build/windows/bench/win32_paste.exe [DIGITS] [WAY...]
//
// Each way reports its time, the text length the box holds afterwards and its line count, so a
// way that loses text or stops wrapping shows it.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "application.h"
#include "form1.h"
#include "long_text_edit.h"
#include "win32_native.h"

namespace {

constexpr std::size_t kDefaultDigits = 10'000;
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
    const char* name;
    DWORD style;
    std::function<void(HWND)> prepare;
    std::function<void(HWND, const std::wstring&)> paste;
};

const std::vector<Way>& Ways() {
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
    static const std::vector<Way> ways{
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
    return ways;
}

void Settle() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageW(&message);
    }
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void Report(const char* name, double milliseconds, HWND box) {
    std::printf("%-24s %9.1f ms  %6d chars  %5d lines\n", name, milliseconds,
                GetWindowTextLengthW(box),
                static_cast<int>(SendMessageW(box, EM_GETLINECOUNT, 0, 0)));
    std::fflush(stdout);
}

// The program's own window: Ctrl+V's WM_PASTE into the second decimal box, whose Change
// procedure reads the text, then Tab, which judges it.
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
    LARGE_INTEGER start{};
    LARGE_INTEGER pasted{};
    LARGE_INTEGER left{};
    QueryPerformanceCounter(&start);
    SendMessageW(box, WM_PASTE, 0, 0);
    UpdateWindow(GetAncestor(box, GA_ROOT));
    Settle();
    QueryPerformanceCounter(&pasted);
    Report("window paste", Milliseconds(start, pasted), box);
    SendMessageW(box, WM_KEYDOWN, VK_TAB, 0);
    UpdateWindow(GetAncestor(box, GA_ROOT));
    Settle();
    QueryPerformanceCounter(&left);
    Report("window leave (Tab)", Milliseconds(pasted, left), box);
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
    Settle();
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceCounter(&start);
    way.paste(box, text);
    UpdateWindow(box);
    Settle();
    QueryPerformanceCounter(&end);
    Report(way.name, Milliseconds(start, end), box);
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
        bool chosen = argc <= 2;
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
