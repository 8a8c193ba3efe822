// The compositor's flush, bound at first call.
#include "platform/CompositionFlush.h"

#include "platform/LateBound.h"

namespace platform {

namespace {

using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using DwmFlushFn = HRESULT(WINAPI*)();

} // namespace

FlushAnswer FlushCompositionOnce() {
    static const auto isEnabled =
        BindLate<DwmIsCompositionEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    static const auto flush = BindLate<DwmFlushFn>(L"dwmapi.dll", "DwmFlush");
    BOOL enabled = FALSE;
    if (isEnabled == nullptr || flush == nullptr || FAILED(isEnabled(&enabled)) || !enabled) {
        return FlushAnswer::Unavailable;
    }
    return SUCCEEDED(flush()) ? FlushAnswer::Returned : FlushAnswer::Failed;
}

} // namespace platform
