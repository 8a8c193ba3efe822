// The compositor's flush, bound at first call.
#include "platform/CompositionFlush.h"

#include "platform/LateBound.h"

namespace platform {

namespace {

using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using DwmFlushFn = HRESULT(WINAPI*)();

struct Compositor {
    DwmIsCompositionEnabledFn isEnabled =
        BindLate<DwmIsCompositionEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    DwmFlushFn flush = BindLate<DwmFlushFn>(L"dwmapi.dll", "DwmFlush");
};

const Compositor& TheCompositor() {
    static const Compositor compositor;
    return compositor;
}

} // namespace

FlushAnswer FlushCompositionOnce() {
    const Compositor& compositor = TheCompositor();
    BOOL enabled = FALSE;
    if (compositor.isEnabled == nullptr || compositor.flush == nullptr ||
        FAILED(compositor.isEnabled(&enabled)) || !enabled) {
        return FlushAnswer::Unavailable;
    }
    return SUCCEEDED(compositor.flush()) ? FlushAnswer::Returned : FlushAnswer::Failed;
}

void PrepareCompositionFlush() {
    static const bool prepared = [] {
        FlushCompositionOnce();
        return true;
    }();
    (void)prepared;
}

} // namespace platform
