// The one way the program makes a bitmap whose pixels it reads and writes
// itself (the desktop snapshot, the held image, the window's surface): a DIB
// section of a given size and depth, its size checked against what a bitmap
// can describe, its failure raised, its handle owned. Storage that is kept
// from one use to the next of the same size (KeptDib) follows one policy too.
#pragma once

#include "platform/Gdi.h"

#include <cstdint>
#include <utility>

namespace platform {

enum class RowOrder { BottomUp, TopDown };

struct DibSection {
    UniqueHbitmap bitmap;
    void* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;

    explicit operator bool() const { return bitmap && bits != nullptr; }
};

// A width x height section of bitsPerPixel (24 or 32), uncompressed, rows
// padded to 4 bytes. Raises "システム リソース不足です" when a side is
// negative or the storage is more than a bitmap's 32-bit size field holds,
// and the system's text (or that one) when the storage cannot be had.
DibSection MakeDibSection(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel,
                          RowOrder order);

// One section kept for the next use of the same size: repeated uses then
// write into pages that are already there (touching a fresh 55 MB bitmap
// costs ten times a copy into it). A request of another size frees the kept
// section before the new one is made, so at most one exists.
class KeptDib {
public:
    KeptDib(std::uint16_t bitsPerPixel, RowOrder order)
        : bitsPerPixel_(bitsPerPixel), order_(order) {}

    // The kept section when its size matches, else a new one; false when
    // the section is new (its pixels are undefined either way).
    bool Ensure(std::int32_t width, std::int32_t height);
    // Whether the kept section is of that size.
    bool Holds(std::int32_t width, std::int32_t height) const {
        return section_ && section_.width == width && section_.height == height;
    }
    // Hands the section over and keeps nothing.
    DibSection Take() { return std::exchange(section_, {}); }
    // Keeps a section handed back.
    void Keep(DibSection section) { section_ = std::move(section); }
    void Clear() { section_ = {}; }

    const DibSection& Section() const { return section_; }
    bool Empty() const { return !section_; }

private:
    std::uint16_t bitsPerPixel_;
    RowOrder order_;
    DibSection section_;
};

} // namespace platform
