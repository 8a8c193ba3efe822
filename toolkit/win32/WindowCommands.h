// Work posted to a host window to run later from the window's own loop:
// a repaint, and the default actions and values that assistive technology
// asks for. They wait in one queue, in the order they came, and each post
// of the one private message runs the oldest, so they keep their place
// among the user's own input too. A client that posts never waits on a
// handler, nor on an error box one shows.
#pragma once

#include "platform/Win.h"

#include <deque>
#include <optional>
#include <string>
#include <variant>

namespace toolkit::win32 {

struct RepaintCommand {};
// Ids are the window's accessible tree's.
struct DefaultActionCommand {
    int id;
};
struct SetValueCommand {
    int id;
    std::wstring text;
};
using WindowCommand = std::variant<RepaintCommand, DefaultActionCommand, SetValueCommand>;

class CommandQueue {
public:
    // The window whose loop runs the commands. Detaching drops every
    // command still waiting: they were meant for that window alone.
    void Attach(HWND window) { window_ = window; }
    void Detach();

    // Queues the command and posts the message that runs it. S_OK, or the
    // system's error when no message could be posted (nothing is queued
    // then).
    HRESULT Post(WindowCommand command);
    // The oldest command, out of the queue before it runs: a command that
    // processes events (a copy's flash, an error box) runs the later ones
    // inside it, each once and in order.
    std::optional<WindowCommand> Take();

private:
    HWND window_ = nullptr;
    std::deque<WindowCommand> commands_;
};

} // namespace toolkit::win32
