// Counts the bytes a piece of code holds at its peak. The benchmark binary
// replaces the global operator new and delete to feed these counters, and
// zlib's memory is fed through the encoder's allocator hook, so both the
// encoder's own buffers and zlib's state are seen.
#pragma once

#include "output/DeflateAllocator.h"

#include <cstddef>

namespace alloccount {

void Allocated(std::size_t bytes) noexcept;
void Released(std::size_t bytes) noexcept;

std::size_t LiveBytes() noexcept;
std::size_t PeakBytes() noexcept;
// Makes the peak the current live amount, to measure from here on.
void ResetPeak() noexcept;

// zlib allocator that counts what zlib holds.
output::DeflateAllocator CountingDeflateAllocator() noexcept;

} // namespace alloccount
