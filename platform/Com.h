// COM for the thread that shows the save dialog: the apartment is entered
// once and left when its owner goes, and strings that COM hands out are
// freed with its allocator.
#pragma once

#include "platform/UniqueHandle.h"
#include "platform/Win.h"

#include <objbase.h>

#include <utility>

namespace platform {

class ComApartment {
public:
    // Not entered: nothing to leave.
    ComApartment() noexcept = default;
    // The dialog is a COM object and wants a single-threaded apartment.
    static ComApartment SingleThreaded() noexcept {
        return ComApartment(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    ~ComApartment() { reset(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ComApartment(ComApartment&& other) noexcept : entered_(std::exchange(other.entered_, false)) {}
    ComApartment& operator=(ComApartment&& other) noexcept {
        if (this != &other) {
            reset();
            entered_ = std::exchange(other.entered_, false);
        }
        return *this;
    }

    // A failed CoInitializeEx (another apartment model already chosen on
    // this thread) must not be balanced by a CoUninitialize.
    explicit operator bool() const noexcept { return entered_; }
    void reset() noexcept {
        if (std::exchange(entered_, false)) {
            ::CoUninitialize();
        }
    }

private:
    explicit ComApartment(bool entered) noexcept : entered_(entered) {}
    bool entered_ = false;
};

namespace detail {
inline void FreeCoTaskString(wchar_t* text) {
    ::CoTaskMemFree(text);
}
} // namespace detail

using UniqueCoTaskString = UniqueHandle<NullHandlePolicy<wchar_t*, detail::FreeCoTaskString>>;

} // namespace platform
