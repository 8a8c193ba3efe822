// The compositor's flush, bound at first call.
#include "platform/CompositionFlush.h"

#include "platform/Win.h"

namespace platform {

namespace {

using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using DwmFlushFn = HRESULT(WINAPI*)();

template <typename Fn> Fn BindDwmapi(const char* name) {
    HMODULE dwmapi = ::GetModuleHandleW(L"dwmapi.dll");
    if (dwmapi == nullptr) {
        dwmapi = ::LoadLibraryW(L"dwmapi.dll");
    }
    return dwmapi == nullptr
               ? nullptr
               : reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(dwmapi, name)));
}

} // namespace

FlushAnswer FlushCompositionOnce() {
    static const auto isEnabled = BindDwmapi<DwmIsCompositionEnabledFn>("DwmIsCompositionEnabled");
    static const auto flush = BindDwmapi<DwmFlushFn>("DwmFlush");
    BOOL enabled = FALSE;
    if (isEnabled == nullptr || flush == nullptr || FAILED(isEnabled(&enabled)) || !enabled) {
        return FlushAnswer::Unavailable;
    }
    return SUCCEEDED(flush()) ? FlushAnswer::Returned : FlushAnswer::Failed;
}

} // namespace platform
