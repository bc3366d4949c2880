// The accessible interfaces of the engine's text boxes: a single-line box read as one run, and
// a multi-line box whose text only the program, or a user where the focus is, may change.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace tsrl::forms {

// None for an object of another class.
QAccessibleInterface* BoxAccessible(const QString& className, QObject* object);

}  // namespace tsrl::forms
