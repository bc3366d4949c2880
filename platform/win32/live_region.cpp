#include "live_region.h"

#include <oleacc.h>

#include "wide_text.h"

namespace tsrl::forms {
namespace {

// UI Automation's LiveSetting property and its values, which mingw-w64 does not declare.
constexpr GUID kLiveSettingProperty{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
// Assertive for every announcement: each is the answer to the user's own last key or click,
// the only thing that action has to say, and polite would queue it behind the name of the button
// just clicked.
constexpr LONG kAssertive = 2;
// How long an announcement stays in the region: a reader reads the region's text for the event
// within a moment, and one that reviews the window later should find no stale report.
constexpr UINT kHeldMs = 5000;
constexpr UINT_PTR kClearTimer = 1;

// Set without a further event: a reader speaks a live region only for the event, and the
// emptied text is no announcement.
void CALLBACK Clear(HWND region, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    KillTimer(region, timer);
    SetWindowTextW(region, L"");
}

}  // namespace

// Visible to assistive tools but of no size at all: nothing to see, nothing under the pointer,
// no tab stop; not hidden, which MSAA would report to a reader as invisible.
LiveRegion::LiveRegion(HWND window)
    : region_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0,
                              window, nullptr, GetModuleHandleW(nullptr), nullptr)) {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    VARIANT setting{};
    setting.vt = VT_I4;
    setting.lVal = kAssertive;
    // Without the setting (as under Wine) the event still goes out: a reader may speak it anyway.
    services->SetHwndProp(region_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          kLiveSettingProperty, setting);
    services->Release();
}

// A reader speaks the region's name, which for a STATIC is its text: set first, then announced,
// and emptied again a while later.
void LiveRegion::Say(std::u16string_view text) {
    SetWindowTextW(region_, Wide(text).c_str());
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, region_, OBJID_CLIENT, CHILDID_SELF);
    SetTimer(region_, kClearTimer, kHeldMs, &Clear);
}

}  // namespace tsrl::forms
