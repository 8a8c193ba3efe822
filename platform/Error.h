// The one exception type that carries a message for the user. Handlers throw
// it; the toolkit's event dispatch shows its text once on the error display.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

class Error : public std::runtime_error {
public:
    explicit Error(std::wstring message)
        : std::runtime_error("Varnel error"), message_(std::move(message)) {}

    // Exact UTF-16 text for the error display (before its "." rule).
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

} // namespace platform
