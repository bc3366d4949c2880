// The engine's boundary around every procedure it runs, the same for every backend: whatever a
// procedure does not catch stops here, is counted by its type, and the window goes on.
#pragma once

#include <typeindex>
#include <utility>

namespace tsrl::forms {

// The type of the exception being handled: a standard exception's own, or void's for any other.
std::type_index CurrentExceptionType() noexcept;
void CountSwallowed(std::type_index kind);

template <typename Call>
void Guarded(Call&& call) noexcept {
    try {
        std::forward<Call>(call)();
    } catch (...) {
        CountSwallowed(CurrentExceptionType());
    }
}

}  // namespace tsrl::forms
