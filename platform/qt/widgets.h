// Qt widgets of the kinds a layout names, and what only a widget's own class can tell: its
// text, its selection, and the width it shows one line of text in.
#pragma once

#include <QString>
#include <utility>

#include "layout.h"

class QFont;
class QWidget;

namespace tsrl::forms {

// Not yet placed nor shown.
QWidget* MakeWidget(const ControlLayout& control, QWidget* parent);
QFont ToQFont(const Font& font);
// Makes the window's face the window's and the application's, keeping the desktop's for menus.
void UseWindowFace(QWidget& window, const Font& font);

QString TextOf(const QWidget* box);
int LengthOf(const QWidget* box);
// As (start, end) in UTF-16 code units, start <= end.
std::pair<int, int> SelectionOf(const QWidget* box);
void SelectIn(QWidget* box, int start, int end);
void ClearSelection(QWidget* box);
// As typing or a paste would, undoably.
void ReplaceSelectionOf(QWidget* box, const QString& text, bool insideADrop = false);
void ForgetUndoOf(QWidget* box);
void ReplaceTextOf(QWidget* box, const QString& text);
double LineWidthOf(const QWidget* box);

}  // namespace tsrl::forms
