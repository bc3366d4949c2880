// On Wayland Qt draws the window's title bar itself, with a maximise button whatever the window's
// flags; a fixed-size window that the compositor has maximised keeps its own size, which breaks
// the protocol and ends the program. There the window takes the compositor's size while it is
// maximised, with every control where it was (nothing in it follows the size), and keeps its
// fixed size otherwise.
#pragma once

class QWidget;

namespace tsrl::forms {

// For a shown window of fixed size; nothing on other platforms.
void AcceptMaximisedSize(QWidget& window);

}  // namespace tsrl::forms
