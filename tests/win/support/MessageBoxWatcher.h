// Message boxes shown by the test's own thread: read and answered from
// inside the process, so code that shows one can run in a test.
#pragma once

#include "platform/Win.h"

#include <string>
#include <vector>

namespace wintest {

// Captures the caption and text of every message box this thread shows and
// presses its default button, so a test can run code that shows one.
class MessageBoxWatcher {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
        bool errorIcon = false;
    };
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    const std::vector<Box>& Boxes() const;
};

} // namespace wintest
