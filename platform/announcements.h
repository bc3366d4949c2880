// What a screen reader is told after a user's action, beyond what it reads of the focus itself,
// the same on every backend: what the procedures of one user event reported in the boxes, and,
// where a procedure sent the focus back, which box it went back to.
#pragma once

#include <optional>
#include <vector>

#include "events.h"
#include "layout.h"

namespace tsrl::forms {

class NativeWindow;

class Announcements {
  public:
    Announcements(const WindowLayout& layout, NativeWindow& native);

    // Around the procedures that one user event runs; nothing is gathered outside one.
    void Begin();
    void End();

    // A procedure wrote a box itself, not through another box's Change.
    void Written(ControlId id);
    void Alerted() { alerted_ = true; }
    // A procedure sent the focus to a control.
    void FocusSent(ControlId id);

  private:
    const WindowLayout& layout_;
    NativeWindow& native_;
    bool gathering_ = false;
    bool alerted_ = false;
    std::vector<ControlId> written_;
    std::optional<ControlId> focusSent_;
};

}  // namespace tsrl::forms
