// One move-only owner for every kind of Win32 handle, after WIL's unique_any:
// a policy per kind names the handle type, its invalid value (null for most,
// INVALID_HANDLE_VALUE for files) and its close function. Each kind keeps a
// count of its live handles, because GetGuiResources says nothing under Wine
// and the leak tests need to see GDI and USER objects come and go.
#pragma once

#include "platform/Win.h"

#include <atomic>
#include <utility>

namespace platform {

// The last error as it was, after a cleanup that may have changed it: an
// owner going out of scope on an error path must not replace the error
// that is about to be read and reported.
class KeepLastError {
public:
    KeepLastError() noexcept : error_(::GetLastError()) {}
    ~KeepLastError() { ::SetLastError(error_); }
    KeepLastError(const KeepLastError&) = delete;
    KeepLastError& operator=(const KeepLastError&) = delete;

private:
    DWORD error_;
};

// The policy of a kind whose invalid value is null (zero).
template <typename T, void (*CloseFunction)(T)> struct NullHandlePolicy {
    using Type = T;
    static Type Invalid() noexcept { return Type{}; }
    static void Close(Type handle) noexcept { CloseFunction(handle); }
};

template <typename Policy> class UniqueHandle {
public:
    using Type = typename Policy::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) { Count(handle_, +1); }
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) { Count(handle_, +1); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Type get() const noexcept {
        Settle();
        return handle_;
    }
    explicit operator bool() const noexcept { return Valid(get()); }

    // Closes the handle held (keeping the last error) and takes the new one.
    // The old handle leaves the owner before it is closed, so a close that
    // calls back into its owner (a window's WM_NCDESTROY) finds it empty.
    void reset(Type handle = Policy::Invalid()) noexcept {
        Settle();
        const Type old = std::exchange(handle_, handle);
        Count(handle_, +1);
        if (Valid(old)) {
            Count(old, -1);
            KeepLastError keep;
            Policy::Close(old);
        }
    }

    // For a call that hands back a new handle through a pointer: closes the
    // handle held and gives the place for the new one, which the owner
    // counts the next time it is used.
    Type* put() noexcept {
        reset();
        unsettled_ = true;
        return &handle_;
    }

    // Gives the handle away (to the clipboard, say); the count drops with it.
    Type release() noexcept {
        Settle();
        const Type handle = std::exchange(handle_, Policy::Invalid());
        Count(handle, -1);
        return handle;
    }

    static long Live() noexcept { return live_.load(); }

private:
    static bool Valid(Type handle) noexcept { return handle != Policy::Invalid(); }
    static void Count(Type handle, long delta) noexcept {
        if (Valid(handle)) {
            live_.fetch_add(delta);
        }
    }
    void Settle() const noexcept {
        if (unsettled_) {
            unsettled_ = false;
            Count(handle_, +1);
        }
    }

    Type handle_ = Policy::Invalid();
    mutable bool unsettled_ = false;
    static inline std::atomic<long> live_{0};
};

} // namespace platform
