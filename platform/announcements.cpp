#include "announcements.h"

#include <algorithm>
#include <string>
#include <utility>

#include "native_window.h"
#include "spoken_text.h"
#include "utf8.h"

namespace tsrl::forms {

Announcements::Announcements(const WindowLayout& layout, NativeWindow& native)
    : layout_(layout), native_(native) {}

void Announcements::Begin() {
    gathering_ = true;
    alerted_ = false;
    written_.clear();
    focusSent_.reset();
}

void Announcements::Written(ControlId id) {
    if (gathering_ && std::ranges::find(written_, id) == written_.end()) {
        written_.push_back(id);
    }
}

void Announcements::FocusSent(ControlId id) {
    if (gathering_) {
        focusSent_ = id;
    }
}

void Announcements::End() {
    gathering_ = false;
    std::u16string said;
    const auto say = [&said](std::u16string_view text) {
        said += said.empty() ? u"" : u", ";
        said += text;
    };
    for (const ControlId id : written_) {
        const Announce when = layout_.controls[id].announce;
        if (when == Announce::OnWrite || (when == Announce::OnAlert && alerted_)) {
            say(SpokenText(native_.Text(id)));
        }
    }
    if (said.empty() || !native_.CanAnnounce()) {
        return;
    }
    // A reader does not present a focus sent back to where it was, nor the text selected there
    // again: name them.
    if (focusSent_) {
        say(FromUtf8(layout_.controls[*focusSent_].accessibleName));
        if (layout_.controls[*focusSent_].kind == ControlKind::TextBox) {
            say(SpokenText(native_.Text(*focusSent_)));
        }
    }
    native_.Announce(said);
}

}  // namespace tsrl::forms
