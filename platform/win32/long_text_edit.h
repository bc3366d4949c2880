// What keeps a wrapping EDIT quick with a long text. The control lays a paragraph out again from
// the changed line to its end at every change, and its own word-break procedure first analyses
// the whole text, so one long paste costs the square of its length (about a minute for 10,000
// digits under Wine), and so does one character typed, deleted or undone in front of such a
// text. Short appends, with a procedure that reads only around its index, cost only the lines
// they touch.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

namespace tsrl::forms {

// Characters per piece: large enough that the messages cost little, small enough that each
// piece lays out only a few lines of a narrow box.
inline constexpr std::size_t kPastePiece = 128;

// For a multi-line EDIT: words end at blanks, as the control's own procedure has them in every
// text a box takes, but found without analysing the whole text.
void BreakWordsAtBlanks(HWND edit);

// For a multi-line EDIT: an edit in front of a long text (a key typed, Delete, BackSpace, cut,
// clear, paste, undo and redo) is written from the edit to the end in appended pieces, and the
// control's one undo step is kept here by the control's own rules, so that undo and redo are
// written the same way. To be attached before any subclass that judges keys: it sees a message
// only after them.
void KeepEditsQuick(HWND edit, std::size_t piece = kPastePiece);

// The selection replaced by the text, undone in one step, as EM_REPLACESEL would; the caret
// after the text.
void ReplaceSelectionInPieces(HWND edit, std::wstring_view text, std::size_t piece = kPastePiece);

}  // namespace tsrl::forms
