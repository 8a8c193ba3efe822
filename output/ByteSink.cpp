// The sink interface's key function and the memory sink, so the vtables are
// emitted once, here.
#include "output/ByteSink.h"

namespace output {

ByteSink::~ByteSink() = default;

void MemorySink::Write(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    bytes_.insert(bytes_.end(), data, data + size);
}

} // namespace output
