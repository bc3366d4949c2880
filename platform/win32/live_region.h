// What a screen reader is told on Windows: a live region, a text that a reader speaks when the
// program says it has changed, wherever the reader's focus is.
#pragma once

#include <windows.h>

#include <string_view>

namespace tsrl::forms {

class LiveRegion {
  public:
    // A child of the window that shows nothing and takes no input.
    explicit LiveRegion(HWND window);

    void Say(std::u16string_view text);

  private:
    HWND region_;
};

}  // namespace tsrl::forms
