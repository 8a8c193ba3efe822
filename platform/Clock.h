// The millisecond clock and the pause the capture commands wait with.
#pragma once

#include <cstdint>

namespace platform {

std::uint32_t Milliseconds(); // timeGetTime: wraps every 49.7 days
void Pause(std::uint32_t milliseconds);

} // namespace platform
