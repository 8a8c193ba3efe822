// An action that runs once when its scope is left, however it is left
// (after WIL's scope_exit): for the one-off undo steps that need no class of
// their own, such as giving the window its height back after a capture.
// Portable: it knows nothing of Windows.
#pragma once

#include <type_traits>
#include <utility>

namespace platform {

template <typename Action> class [[nodiscard]] ScopeExit {
    static_assert(std::is_void_v<decltype(std::declval<Action&>()())>,
                  "a scope's exit action gives nothing back");

public:
    explicit ScopeExit(Action action) noexcept(std::is_nothrow_move_constructible_v<Action>)
        : action_(std::move(action)) {}
    // The action cannot report a failure from a destructor: it must handle
    // its own errors (an exception here ends the program).
    ~ScopeExit() { reset(); }

    // Handed on (returned from a function that made it), the action stays
    // owed once, by the new holder.
    ScopeExit(ScopeExit&& other) noexcept(std::is_nothrow_move_constructible_v<Action>)
        : action_(std::move(other.action_)), owed_(std::exchange(other.owed_, false)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ScopeExit& operator=(ScopeExit&&) = delete;

    // Runs the action now, if it is still owed; it will not run again.
    void reset() {
        if (std::exchange(owed_, false)) {
            action_();
        }
    }
    // The action will not run: what it would undo is kept.
    void release() noexcept { owed_ = false; }

    // True while the action is still owed.
    explicit operator bool() const noexcept { return owed_; }

private:
    Action action_;
    bool owed_ = true;
};

template <typename Action> ScopeExit(Action) -> ScopeExit<Action>;

} // namespace platform
