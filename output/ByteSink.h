// Where the image byte producers put their output. The BMP writer and the PNG
// encoder write through this so that nothing builds a whole file in memory:
// the program passes a file, tests pass a memory buffer. A sink that cannot
// take the bytes throws; the producers let that exception through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace output {

class ByteSink {
public:
    virtual ~ByteSink();

    // Takes all `size` bytes or throws.
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
};

// Keeps everything written, in order; for tests and small in-memory uses.
class MemorySink : public ByteSink {
public:
    void Write(const std::uint8_t* data, std::size_t size) override;

    const std::vector<std::uint8_t>& Bytes() const noexcept { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace output
