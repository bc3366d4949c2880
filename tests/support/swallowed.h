// The failures that no procedure trapped, which the engine's boundary absorbs: the tests link
// their own version of the boundary's policy (swallowed.cpp), which counts them by type.
#pragma once

#include <typeindex>

namespace tsrl::testing {

// By the type of a standard exception, or void's for any other.
int SwallowedCount(std::type_index kind);
int SwallowedCount();

}  // namespace tsrl::testing
