// Which Windows the program runs on, as far as the program cares.
#pragma once

namespace platform {

// True where the running Windows reports major version 6 or more.
bool IsVersion6OrLater();

} // namespace platform
