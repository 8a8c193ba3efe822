// The compositor's flush and frame counters, bound at first call.
#include "platform/CompositionFlush.h"

#include "platform/LateBound.h"

#include <dwmapi.h>

namespace platform {

namespace {

using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using DwmFlushFn = HRESULT(WINAPI*)();
using DwmGetCompositionTimingInfoFn = HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*);

struct Compositor {
    DwmIsCompositionEnabledFn isEnabled =
        BindLate<DwmIsCompositionEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    DwmFlushFn flush = BindLate<DwmFlushFn>(L"dwmapi.dll", "DwmFlush");
    DwmGetCompositionTimingInfoFn timing =
        BindLate<DwmGetCompositionTimingInfoFn>(L"dwmapi.dll", "DwmGetCompositionTimingInfo");
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

std::optional<CompositionFrames> CompositionFramesNow() {
    const Compositor& compositor = TheCompositor();
    if (compositor.timing == nullptr) {
        return std::nullopt;
    }
    DWM_TIMING_INFO info{};
    info.cbSize = sizeof info;
    // The whole desktop's timing: a window's own is refused on Windows 8.1
    // and later.
    if (FAILED(compositor.timing(nullptr, &info))) {
        return std::nullopt;
    }
    return CompositionFrames{info.cFrame, info.cRefresh};
}

} // namespace platform
