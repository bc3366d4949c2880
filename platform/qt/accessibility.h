// What a screen reader learns of a form beyond what Qt's widgets tell it: the focus and the
// selection in the order a reader can follow, single-line boxes read in full, the window as a
// frame, an open menu among the application's windows, and announcements of what an event
// procedure reported.
#pragma once

#include <QObject>
#include <QString>

class QAbstractButton;
class QWidget;

namespace tsrl::forms {

// Installs the engine's accessible interfaces and its filter of accessibility events; once per
// process, before the first widget is shown. Harmless when no screen reader listens.
void InstallAccessibility();

// An assistive Press clicks a button with no pointer press to give it the focus first: the
// press gives it here, so that the box being left runs its LostFocus, and a box that sends the
// focus back keeps the click from running.
void FocusOnPress(QAbstractButton& button);

// Marks a widget as the frame of a form: a screen reader presents it as an application window.
void MarkAsFrame(QWidget& window);

// Speaks a text to a screen reader without moving the focus, as a desktop notification of the
// window's own: the reader says it once the events of the current focus change have gone out.
class Announcer final : public QObject {
  public:
    explicit Announcer(QWidget& window);

    void Announce(const QString& text);
    const QString& Text() const { return text_; }

  private:
    void Show();

    QString text_;
};

}  // namespace tsrl::forms
