// What keeps a wrapping EDIT quick with a long text. The control lays a paragraph out again from
// the changed line to its end at every change, and its own word-break procedure first analyses
// the whole text, so one long paste costs the square of its length (about a minute for 10,000
// digits under Wine). Short appends, with a procedure that reads only around its index, cost
// only the lines they touch.
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

// The selection replaced by the text, undone in one step, as EM_REPLACESEL would; the caret
// after the text.
void ReplaceSelectionInPieces(HWND edit, std::wstring_view text, std::size_t piece = kPastePiece);

}  // namespace tsrl::forms
