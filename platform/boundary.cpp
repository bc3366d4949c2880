#include "boundary.h"

#include <cxxabi.h>

#include <map>
#include <typeinfo>

#include "services.h"

namespace tsrl::forms {
namespace {
std::map<std::type_index, int> swallowed;
}  // namespace

std::type_index CurrentExceptionType() noexcept {
    const std::type_info* type = abi::__cxa_current_exception_type();
    return type != nullptr ? std::type_index(*type) : std::type_index(typeid(void));
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
