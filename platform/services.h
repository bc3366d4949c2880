// What the engine tells of itself, for tests: the failures no procedure trapped.
#pragma once

#include <typeindex>

namespace tsrl::forms {

// Failures no procedure trapped, absorbed at the engine's boundary (boundary.h), by their type,
// so that tests can tell which failures get that far.
int SwallowedCount(std::type_index kind);
int SwallowedCount();

}  // namespace tsrl::forms
