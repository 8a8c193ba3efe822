// The host window's posted work: each post of the one private message runs
// the oldest command of the window's queue from the window's own loop, a
// repaint, or a default action or a value that assistive technology asked
// for, through the accessible tree as a click or typing would.
#include "toolkit/win32/HostWindow.h"

#include "toolkit/win32/PrivateMessages.h"

#include <type_traits>

namespace toolkit::win32 {

std::optional<LRESULT> HostWindow::OnCommand(UINT message) {
    if (message != RunCommandMessage) {
        return std::nullopt;
    }
    if (std::optional<WindowCommand> command = commands_.Take()) {
        Run(*command);
    }
    return 0;
}

void HostWindow::Run(WindowCommand& command) {
    std::visit(
        [&](auto& c) {
            using Command = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<Command, RepaintCommand>) {
                RepaintIfPending();
            } else if constexpr (std::is_same_v<Command, DefaultActionCommand>) {
                accessibleTree_.DoDefaultAction(c.id);
            } else {
                static_assert(std::is_same_v<Command, SetValueCommand>);
                if (accessibleTree_.Valid(c.id)) {
                    accessibleTree_.SetValue(c.id, c.text);
                }
            }
        },
        command);
}

} // namespace toolkit::win32
