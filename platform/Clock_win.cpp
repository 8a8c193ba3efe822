#include "platform/Clock.h"

#include "platform/Win.h"

#include <mmsystem.h>

namespace platform {

std::uint32_t Milliseconds() {
    return ::timeGetTime();
}

void Pause(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace platform
