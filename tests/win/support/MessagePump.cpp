#include "tests/win/support/MessagePump.h"

namespace wintest {

void Pump(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

bool WaitFor(const std::function<bool()>& predicate, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!predicate()) {
        if (::GetTickCount() - start >= milliseconds) {
            return false;
        }
        Pump(10);
    }
    return true;
}

} // namespace wintest
