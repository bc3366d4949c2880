// The engine's boundary around every procedure it runs, the same for every backend: whatever a
// procedure does not catch stops here, and the window goes on.
#pragma once

#include <utility>

namespace tsrl::forms {

// What becomes of a failure that no procedure trapped, called while it is being handled: the
// procedure has ended there, and nothing more is done.
void Uncaught() noexcept;

template <typename Call>
void Guarded(Call&& call) noexcept {
    try {
        std::forward<Call>(call)();
    } catch (...) {
        Uncaught();
    }
}

}  // namespace tsrl::forms
