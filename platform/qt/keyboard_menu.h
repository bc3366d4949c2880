// A box's menu from the keyboard: Shift+F10 opens it as the Menu key does, as on every desktop,
// and it opens at its first item, which a screen reader then speaks.
#pragma once

class QWidget;

namespace tsrl::forms {

// Asks the box for its menu at its caret, as Qt does for the Menu key.
void OpenMenuFromKeyboard(QWidget& box);

// Once the menu a keyboard asked for shows, makes its first item the current one.
void StartMenuAtFirstItem();

}  // namespace tsrl::forms
