// The boundary's policy, in a unit of its own: a program that must tell such failures apart
// links its own Uncaught in place of this one.
#include "boundary.h"

namespace tsrl::forms {

void Uncaught() noexcept {}

}  // namespace tsrl::forms
