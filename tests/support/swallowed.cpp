#include "swallowed.h"

#include <exception>
#include <map>
#include <typeinfo>

#include "boundary.h"

namespace tsrl::testing {
namespace {

std::map<std::type_index, int>& Counts() {
    static std::map<std::type_index, int> counts;
    return counts;
}

}  // namespace

int SwallowedCount(std::type_index kind) {
    const auto it = Counts().find(kind);
    return it != Counts().end() ? it->second : 0;
}

int SwallowedCount() {
    int total = 0;
    for (const auto& [kind, count] : Counts()) {
        total += count;
    }
    return total;
}

}  // namespace tsrl::testing

// In place of the program's, which drops the failure: linked first, it keeps the program's out.
void tsrl::forms::Uncaught() noexcept {
    try {
        throw;
    } catch (const std::exception& failure) {
        ++testing::Counts()[typeid(failure)];
    } catch (...) {
        ++testing::Counts()[typeid(void)];
    }
}
