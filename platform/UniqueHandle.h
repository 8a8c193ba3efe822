// One move-only owner for every kind of Win32 resource, after WIL's
// unique_any: a policy per kind names what is stored, its invalid value and
// how it is closed. Most kinds store the handle alone (null or, for files,
// INVALID_HANDLE_VALUE when empty); a kind whose close needs more than the
// handle stores a small struct (a window's DC and its window, a DC and the
// object to put back into it) and says which part get() hands out. Each kind
// keeps a count of its live values, because GetGuiResources says nothing
// under Wine and the leak tests need to see GDI and USER objects come and go.
#pragma once

#include "platform/Win.h"

#include <atomic>
#include <type_traits>
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

// A policy names Type (what get() hands out), Storage (what the owner keeps),
// Invalid(), Valid(storage), Get(storage) and Close(storage). This base is
// for the kinds that keep the handle itself.
template <typename T> struct HandleStorage {
    using Type = T;
    using Storage = T;
    static Type Get(Storage handle) noexcept { return handle; }
};

// The policy of a kind whose invalid value is null (zero).
template <typename T, void (*CloseFunction)(T)> struct NullHandlePolicy : HandleStorage<T> {
    static T Invalid() noexcept { return T{}; }
    static bool Valid(T handle) noexcept { return handle != Invalid(); }
    static void Close(T handle) noexcept { CloseFunction(handle); }
};

// The policy of a kind that owns one call still to be made (leaving a COM
// apartment, closing the clipboard): what it keeps is whether the call is
// owed (WIL's unique_call).
template <void (*CloseFunction)()> struct OwedCallPolicy : HandleStorage<bool> {
    static bool Invalid() noexcept { return false; }
    static bool Valid(bool owed) noexcept { return owed; }
    static void Close(bool) noexcept { CloseFunction(); }
};

template <typename Owner> class OutParam;

template <typename Policy> class UniqueHandle {
public:
    using Type = typename Policy::Type;
    using Storage = typename Policy::Storage;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Storage stored) noexcept : stored_(stored) { Count(stored_, +1); }
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : stored_(other.release()) { Count(stored_, +1); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Type get() const noexcept { return Policy::Get(stored_); }
    explicit operator bool() const noexcept { return Policy::Valid(stored_); }

    // Closes what is held (keeping the last error) and takes the new one.
    // The old value leaves the owner before it is closed, so a close that
    // calls back into its owner (a window's WM_NCDESTROY) finds it empty.
    void reset(Storage stored = Policy::Invalid()) noexcept {
        const Storage old = std::exchange(stored_, stored);
        Count(stored_, +1);
        if (Policy::Valid(old)) {
            Count(old, -1);
            KeepLastError keep;
            Policy::Close(old);
        }
    }

    // For a call that hands back a new handle through a pointer: closes the
    // handle held and gives an out-parameter whose place converts to Type*;
    // the owner takes (and counts) the handle written there when the
    // out-parameter goes, at the end of the statement that made it: test
    // the owner in the next statement, not in the call's own.
    [[nodiscard]] OutParam<UniqueHandle> put() noexcept {
        static_assert(std::is_same_v<Storage, Type>, "put() is for kinds that keep the handle");
        reset();
        return OutParam<UniqueHandle>(*this);
    }

    // Gives the value away (to the clipboard, say); the count drops with it.
    Storage release() noexcept {
        const Storage stored = std::exchange(stored_, Policy::Invalid());
        Count(stored, -1);
        return stored;
    }

    static long Live() noexcept { return live_.load(); }

protected:
    // For the kinds that add calls of their own on what they keep.
    const Storage& Stored() const noexcept { return stored_; }

private:
    static void Count(const Storage& stored, long delta) noexcept {
        if (Policy::Valid(stored)) {
            live_.fetch_add(delta);
        }
    }

    Storage stored_ = Policy::Invalid();
    static inline std::atomic<long> live_{0};
};

// The place a call writes a new handle to (WIL's out_param): the owner
// takes the handle only when this goes, so reading the owner never changes
// it, and a handle the call did not write leaves the owner empty.
template <typename Owner> class [[nodiscard]] OutParam {
public:
    using Type = typename Owner::Type;

    // Starts as the empty owner's value, which stays if the call writes
    // nothing.
    explicit OutParam(Owner& owner) noexcept : owner_(&owner), handle_(owner.get()) {}
    OutParam(OutParam&& other) noexcept
        : owner_(std::exchange(other.owner_, nullptr)), handle_(other.handle_) {}
    OutParam(const OutParam&) = delete;
    OutParam& operator=(const OutParam&) = delete;
    OutParam& operator=(OutParam&&) = delete;
    ~OutParam() {
        if (owner_ != nullptr) {
            owner_->reset(handle_);
        }
    }

    operator Type*() noexcept { return &handle_; }

private:
    Owner* owner_;
    Type handle_;
};

} // namespace platform
