#include "platform/OsVersion.h"

#include "platform/LateBound.h"

namespace platform {

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

} // namespace

bool IsVersion6OrLater() {
    // GetVersionEx lies to processes without a matching manifest entry;
    // RtlGetVersion does not.
    static const bool result = [] {
        const auto rtlGetVersion = BindLate<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        return rtlGetVersion != nullptr && rtlGetVersion(&info) == 0 && info.dwMajorVersion >= 6;
    }();
    return result;
}

} // namespace platform
