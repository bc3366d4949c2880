#include "tab_order.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tsrl::forms {

TabOrder::TabOrder(const WindowLayout& layout, CanTakeFocus canTakeFocus)
    : canTakeFocus_(std::move(canTakeFocus)) {
    for (ControlId id = 0; id < layout.controls.size(); ++id) {
        if (layout.controls[id].kind != ControlKind::Label) {
            order_.push_back(id);
        }
    }
    std::ranges::stable_sort(order_, {},
                             [&](ControlId id) { return layout.controls[id].tabIndex; });
}

std::optional<ControlId> TabOrder::First() const {
    auto it = std::ranges::find_if(order_, canTakeFocus_);
    return it == order_.end() ? std::nullopt : std::optional(*it);
}

std::optional<ControlId> TabOrder::Next(ControlId from, bool backwards) const {
    auto at = std::ranges::find(order_, from);
    if (at == order_.end()) {
        return First();
    }
    const auto size = static_cast<std::ptrdiff_t>(order_.size());
    const std::ptrdiff_t step = backwards ? size - 1 : 1;  // one back is size - 1 forward
    std::ptrdiff_t index = at - order_.begin();
    for (std::ptrdiff_t visited = 1; visited < size; ++visited) {
        index = (index + step) % size;
        const ControlId candidate = order_[static_cast<std::size_t>(index)];
        if (canTakeFocus_(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace tsrl::forms
