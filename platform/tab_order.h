// The order Tab moves the focus in: every control but the labels, by tab index, wrapping, and
// passing over those that cannot take the focus now.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "events.h"
#include "layout.h"

namespace tsrl::forms {

class TabOrder {
  public:
    using CanTakeFocus = std::function<bool(ControlId)>;
    TabOrder(const WindowLayout& layout, CanTakeFocus canTakeFocus);

    // The lowest tab index that can take the focus.
    std::optional<ControlId> First() const;
    // After a control, or before it; from a control not in the order, the first.
    std::optional<ControlId> Next(ControlId from, bool backwards) const;

  private:
    std::vector<ControlId> order_;
    CanTakeFocus canTakeFocus_;
};

}  // namespace tsrl::forms
