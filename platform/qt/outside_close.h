// A window destroyed by another X client (a window-closing tool, a session's clean-up) gets no
// close event: Qt goes on with no window at all. This ends the program then, as a close does.
#pragma once

class QWidget;

namespace tsrl::forms {

// Ends the event loop with status 0 once the window's X window is destroyed from outside.
// Nothing on other platforms.
void EndWhenDestroyedOutside(QWidget& window);

}  // namespace tsrl::forms
