#include "toolkit/win32/WindowCommands.h"

#include "toolkit/win32/PrivateMessages.h"

#include <utility>

namespace toolkit::win32 {

void CommandQueue::Detach() {
    window_ = nullptr;
    commands_.clear();
}

HRESULT CommandQueue::Post(WindowCommand command) {
    if (window_ == nullptr) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE);
    }
    commands_.push_back(std::move(command));
    if (!::PostMessageW(window_, RunCommandMessage, 0, 0)) {
        const DWORD error = ::GetLastError();
        commands_.pop_back();
        return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    return S_OK;
}

std::optional<WindowCommand> CommandQueue::Take() {
    if (commands_.empty()) {
        return std::nullopt;
    }
    WindowCommand command = std::move(commands_.front());
    commands_.pop_front();
    return command;
}

} // namespace toolkit::win32
