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
// leaving only when the entering succeeded, and reports what CoInitializeEx
// answered, so a thread that is not in a single-threaded apartment is known
// as such.
class ComApartment : public UniqueHandle<OwedCallPolicy<detail::LeaveApartment>> {
public:
    // Not entered: nothing to leave.
    ComApartment() noexcept = default;
    // The dialog is a COM object and wants a single-threaded apartment.
    static ComApartment SingleThreaded() noexcept {
        return ComApartment(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }

    // CoInitializeEx's answer: S_OK or S_FALSE when entered, the error
    // (RPC_E_CHANGED_MODE: the thread is in another model) when not;
    // CO_E_NOTINITIALIZED for an apartment never asked for.
    HRESULT Result() const noexcept { return result_; }

private:
    explicit ComApartment(HRESULT result) noexcept
        : UniqueHandle(SUCCEEDED(result)), result_(result) {}

    HRESULT result_ = CO_E_NOTINITIALIZED;
};

// Whether the calling thread is in a single-threaded apartment, where
// objects that are not free-threaded may be handed out.
inline bool InSingleThreadedApartment() noexcept {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return ::CoGetApartmentType(&type, &qualifier) == S_OK &&
           (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
}

namespace detail {
inline void FreeCoTaskString(wchar_t* text) {
    ::CoTaskMemFree(text);
}
} // namespace detail

using UniqueCoTaskString = UniqueHandle<NullHandlePolicy<wchar_t*, detail::FreeCoTaskString>>;

} // namespace platform
