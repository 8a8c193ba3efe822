// The PNG encoder's own failures: misuse (no image, an empty image) and
// errors zlib reports. Running out of memory is std::bad_alloc instead, as it
// is for every other buffer, so a caller handles all shortages one way.
#pragma once

#include <stdexcept>

namespace output {

class PngError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace output
