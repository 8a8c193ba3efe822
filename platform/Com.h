// COM for the thread that shows the save dialog: the apartment is entered
// once and left when its owner goes, and strings that COM hands out are
// freed with its allocator.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

#include <objbase.h>

namespace platform {

namespace detail {
inline void LeaveApartment() {
    ::CoUninitialize();
}
} // namespace detail

// A failed CoInitializeEx (another apartment model already chosen on this
// thread) must not be balanced by a CoUninitialize: the owner holds the
// leaving only when the entering succeeded.
class ComApartment : public UniqueHandle<OwedCallPolicy<detail::LeaveApartment>> {
public:
    // Not entered: nothing to leave.
    ComApartment() noexcept = default;
    // The dialog is a COM object and wants a single-threaded apartment.
    static ComApartment SingleThreaded() noexcept {
        return ComApartment(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }

private:
    explicit ComApartment(bool entered) noexcept : UniqueHandle(entered) {}
};

namespace detail {
inline void FreeCoTaskString(wchar_t* text) {
    ::CoTaskMemFree(text);
}
} // namespace detail

using UniqueCoTaskString = UniqueHandle<NullHandlePolicy<wchar_t*, detail::FreeCoTaskString>>;

} // namespace platform
