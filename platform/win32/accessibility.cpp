#include "accessibility.h"

#include <oleacc.h>

#include <string>

#include "wide_text.h"

namespace tsrl::forms {

AccessibleTexts::AccessibleTexts() {
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
    }
}

AccessibleTexts::~AccessibleTexts() {
    if (services_ != nullptr) {
        services_->Release();
    }
}

void AccessibleTexts::Set(HWND handle, std::string_view name, std::string_view description) const {
    if (services_ == nullptr) {
        return;
    }
    const struct {
        const MSAAPROPID& property;
        std::string_view text;
    } texts[] = {{PROPID_ACC_NAME, name}, {PROPID_ACC_DESCRIPTION, description}};
    for (const auto& [property, text] : texts) {
        if (!text.empty()) {
            // A failure leaves the control as the system describes it; nothing else depends on it.
            services_->SetHwndPropStr(handle, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      property, Wide(text).c_str());
        }
    }
}

}  // namespace tsrl::forms
