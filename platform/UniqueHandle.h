// One move-only owner for every kind of Win32 handle. Each kind keeps a count
// of its live handles, because GetGuiResources says nothing under Wine and
// the leak tests need to see GDI and USER objects come and go.
#pragma once

#include <atomic>
#include <utility>

namespace platform {

template <typename T, auto Close, T Invalid = T{}> class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T handle) noexcept : handle_(handle) { Count(+1); }
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) { Count(+1); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    T get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Invalid; }

    void reset(T handle = Invalid) noexcept {
        if (handle_ != Invalid) {
            Close(handle_);
            Count(-1);
        }
        handle_ = handle;
        Count(+1);
    }

    // Gives the handle away (to the clipboard, say); the count drops with it.
    T release() noexcept {
        T handle = std::exchange(handle_, Invalid);
        if (handle != Invalid) {
            live_.fetch_sub(1);
        }
        return handle;
    }

    static long Live() noexcept { return live_.load(); }

private:
    void Count(long delta) noexcept {
        if (handle_ != Invalid) {
            live_.fetch_add(delta);
        }
    }

    T handle_ = Invalid;
    static inline std::atomic<long> live_{0};
};

} // namespace platform
