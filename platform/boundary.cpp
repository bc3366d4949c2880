#include "boundary.h"

#include <exception>
#include <map>
#include <typeinfo>

#include "services.h"

namespace tsrl::forms {
namespace {
std::map<std::type_index, int> swallowed;
}  // namespace

// Standard exceptions by their own type, as the language tells it of a reference; anything
// else only as unknown, since no portable call names it.
std::type_index CurrentExceptionType() noexcept {
    try {
        throw;
    } catch (const std::exception& failure) {
        return typeid(failure);
    } catch (...) {
        return typeid(void);
    }
}

void CountSwallowed(std::type_index kind) {
    ++swallowed[kind];
}

int SwallowedCount(std::type_index kind) {
    const auto it = swallowed.find(kind);
    return it != swallowed.end() ? it->second : 0;
}

int SwallowedCount() {
    int total = 0;
    for (const auto& [kind, count] : swallowed) {
        total += count;
    }
    return total;
}

}  // namespace tsrl::forms
