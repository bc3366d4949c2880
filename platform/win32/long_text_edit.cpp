#include "long_text_edit.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>

#include "edit_changes.h"

namespace tsrl::forms {
namespace {

constexpr UINT_PTR kSubclassId = 1;                   // this file's subclass of a box
constexpr const wchar_t* kBoxProperty = L"tsrl.box";  // where a paste finds the box's step
constexpr LPARAM kAltHeld = LPARAM{1} << 29;          // in a key message's flags

bool Blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// A word starts where a blank ends.
bool WordStartsAt(const wchar_t* text, int index) {
    return index > 0 && Blank(text[index - 1]) && !Blank(text[index]);
}

int CALLBACK BlankWordBreak(LPWSTR text, int index, int count, int action) {
    switch (action) {
        case WB_ISDELIMITER:
            return index < count && Blank(text[index]) ? TRUE : FALSE;
        case WB_LEFT:
            index = std::max(index - 1, 0);
            while (index > 0 && !WordStartsAt(text, index)) {
                --index;
            }
            return index;
        case WB_RIGHT:
            while (index < count && !WordStartsAt(text, index)) {
                ++index;
            }
            return index;
        default:
            return 0;
    }
}

std::wstring TextOf(HWND edit) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The control's one undo step, kept by its own rules: an undo puts `deleted` back at `position`
// in place of the `inserted` characters there, and is itself the step's next edit, so that an
// undo of an undo is a redo.
struct UndoStep {
    std::size_t position = 0;
    std::wstring deleted;
    std::size_t inserted = 0;

    bool CanUndo() const { return inserted != 0 || !deleted.empty(); }
    void Forget() {
        deleted.clear();
        inserted = 0;
    }
    // A deletion or an insertion next to the step's own extends it, as typing on does.
    void Record(std::size_t start, std::wstring_view removed, std::size_t added) {
        if (!removed.empty()) {
            const bool deleting = inserted == 0 && !deleted.empty();
            if (deleting && start == position) {
                deleted += removed;
            } else if (deleting && start + removed.size() == position) {
                deleted.insert(0, removed);
                position = start;
            } else {
                deleted.assign(removed);
                position = start;
            }
            inserted = 0;
        }
        if (added != 0) {
            if (start == position || (inserted != 0 && start == position + inserted)) {
                inserted += added;
            } else {
                position = start;
                inserted = added;
                deleted.clear();
            }
        }
    }
};

struct Box {
    std::size_t piece;
    UndoStep undo{};
};

// The control's own window procedure, past the subclasses: a change written to it is no key to
// judge, and under Wine each subclass a message passes costs a round trip to the server.
class EditProcedure {
  public:
    explicit EditProcedure(HWND edit)
        : edit_(edit), proc_(reinterpret_cast<WNDPROC>(GetClassLongPtrW(edit, GCLP_WNDPROC))) {}
    void Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        CallWindowProcW(proc_, edit_, message, wParam, lParam);
    }
    void Select(std::size_t start, std::size_t end) const {
        Send(EM_SETSEL, start, static_cast<LPARAM>(end));
    }
    void ReplaceSelection(std::wstring_view text) const {
        const std::wstring part(text);
        Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(part.c_str()));
    }

  private:
    HWND edit_;
    WNDPROC proc_;
};

void Notify(HWND edit, WORD code) {
    SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), code),
                 reinterpret_cast<LPARAM>(edit));
}

// While a change is written in pieces, the notifications of the pieces are kept from the parent:
// the change is one, announced at its end. The parent's procedure is swapped for that while,
// rather than subclassed, for the same round trips.
class HeldNotifications {
  public:
    explicit HeldNotifications(HWND edit) : parent_(GetParent(edit)) {
        edit_ = edit;
        proc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Held)));
    }
    HeldNotifications(const HeldNotifications&) = delete;
    HeldNotifications& operator=(const HeldNotifications&) = delete;
    ~HeldNotifications() {
        SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc_));
    }

  private:
    static LRESULT CALLBACK Held(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == edit_) {
            return 0;
        }
        return CallWindowProcW(proc_, parent, message, wParam, lParam);
    }
    static thread_local HWND edit_;
    static thread_local WNDPROC proc_;
    HWND parent_;
};
thread_local HWND HeldNotifications::edit_ = nullptr;
thread_local WNDPROC HeldNotifications::proc_ = nullptr;

// Anything laid in front of a long text lays all that follows out again: the text from the
// change on is written anew instead, in pieces appended at the end. The first piece replaces
// all from the change's start; the others follow it at the caret, where the control extends the
// same undo step. True where so written.
bool Apply(HWND edit, const Change& change, std::wstring_view text, std::size_t piece) {
    if (change.start == change.end && change.text.empty()) {
        return false;  // as the control, which does nothing for nothing
    }
    const EditProcedure control(edit);
    if (change.text.size() <= piece && text.size() - change.end <= piece) {
        control.Select(change.start, change.end);
        control.ReplaceSelection(change.text);
        return false;
    }
    const std::wstring tail = change.text + std::wstring(text.substr(change.end));
    const HeldNotifications held(edit);
    // Not drawn until written: each piece would scroll the box and invalidate what it shows. The
    // control itself ignores WM_SETREDRAW.
    const bool shown = (GetWindowLongW(edit, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown) {
        DefWindowProcW(edit, WM_SETREDRAW, FALSE, 0);
    }
    control.Select(change.start, text.size());
    for (std::size_t at = 0; at == 0 || at < tail.size(); at += piece) {
        control.ReplaceSelection(std::wstring_view(tail).substr(at, piece));
    }
    const std::size_t caret = change.start + change.text.size();
    control.Select(caret, caret);
    control.Send(EM_SCROLLCARET, 0, 0);
    if (shown) {
        DefWindowProcW(edit, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(edit, nullptr, TRUE);
    }
    return true;
}

// The change made, and recorded as the control records its own where the box keeps its step.
void Edit(HWND edit, Box* box, const Change& change, std::wstring_view text, std::size_t piece) {
    if (change.cut) {
        SendMessageW(edit, WM_COPY, 0, 0);
    }
    if (box != nullptr) {
        box->undo.Record(change.start, text.substr(change.start, change.end - change.start),
                         change.text.size());
    }
    if (Apply(edit, change, text, piece)) {
        Notify(edit, EN_UPDATE);
        Notify(edit, EN_CHANGE);
    }
}

// As the control's own undo: the step's text put back and selected, the undo the new step.
LRESULT Undo(HWND edit, Box& box) {
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0) {
        return FALSE;
    }
    const std::wstring text = TextOf(edit);
    UndoStep step = box.undo;
    box.undo.Forget();
    const auto start = static_cast<DWORD>(std::min(step.position, text.size()));
    const auto end = static_cast<DWORD>(std::min(step.position + step.inserted, text.size()));
    Edit(edit, &box, {start, end, std::move(step.deleted)}, text, box.piece);
    EditProcedure(edit).Select(box.undo.position, box.undo.position + box.undo.inserted);
    Notify(edit, EN_CHANGE);
    return TRUE;
}

LRESULT CALLBACK BoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                         DWORD_PTR data) {
    auto* box = reinterpret_cast<Box*>(data);
    switch (message) {
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, BoxProc, kSubclassId);
            RemovePropW(edit, kBoxProperty);
            delete box;
            break;
        case WM_UNDO:
        case EM_UNDO:
            return Undo(edit, *box);
        case WM_SYSKEYDOWN:  // Alt+BackSpace undoes
            if (wParam == VK_BACK && (lParam & kAltHeld) != 0) {
                if (box->undo.CanUndo()) {
                    Undo(edit, *box);
                }
                return 0;
            }
            break;
        case EM_CANUNDO:
            return box->undo.CanUndo() ? TRUE : FALSE;
        case WM_SETTEXT:
        case EM_EMPTYUNDOBUFFER:
        case EM_SETHANDLE:
        case WM_IME_COMPOSITION:
        case WM_UNICHAR:
            // These leave the control's own step empty, or one not kept here.
            box->undo.Forget();
            break;
        case WM_KEYDOWN:
            if (wParam != VK_DELETE) {
                break;
            }
            [[fallthrough]];
        case WM_CHAR:
        case WM_CLEAR:
        case WM_CUT:
        case EM_REPLACESEL: {
            const std::wstring text = TextOf(edit);
            const std::optional<Change> change = ChangeOf(edit, text, message, wParam, lParam);
            if (!change) {
                break;
            }
            Edit(edit, box, *change, text, box->piece);
            if (message == EM_REPLACESEL && wParam == FALSE) {
                box->undo.Forget();
            }
            // What the control answers.
            return message == WM_CHAR || message == WM_KEYDOWN || message == EM_REPLACESEL ? 1 : 0;
        }
        default:
            break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void BreakWordsAtBlanks(HWND edit) {
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0) {
        SendMessageW(edit, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&BlankWordBreak));
    }
}

void KeepEditsQuick(HWND edit, std::size_t piece) {
    if ((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0) {
        auto* box = new Box{piece};  // deleted with the control, at WM_NCDESTROY
        SetWindowSubclass(edit, BoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(box));
        SetPropW(edit, kBoxProperty, box);
    }
}

void ReplaceSelectionInPieces(HWND edit, std::wstring_view text, std::size_t piece) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    Edit(edit, static_cast<Box*>(GetPropW(edit, kBoxProperty)), {start, end, std::wstring(text)},
         TextOf(edit), piece);
}

}  // namespace tsrl::forms
