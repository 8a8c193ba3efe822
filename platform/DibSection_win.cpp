#include "platform/DibSection.h"

#include "platform/SystemError.h"

#include <limits>

namespace platform {

DibSection MakeDibSection(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel,
                          RowOrder order) {
    if (width < 0 || height < 0) {
        ThrowResourceError(0);
    }
    const std::uint64_t stride = (std::uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
    const std::uint64_t storage = stride * std::uint64_t(height);
    if (storage > std::numeric_limits<DWORD>::max()) {
        ThrowResourceError(0);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = order == RowOrder::BottomUp ? height : -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(storage);
    DibSection section;
    ::SetLastError(0);
    // With DIB_RGB_COLORS no DC is consulted.
    section.bitmap.reset(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &section.bits, nullptr, 0));
    if (!section) {
        ThrowResourceError(::GetLastError());
    }
    section.width = width;
    section.height = height;
    return section;
}

bool KeptDib::Ensure(std::int32_t width, std::int32_t height) {
    if (Holds(width, height)) {
        return true;
    }
    section_ = {};
    section_ = MakeDibSection(width, height, bitsPerPixel_, order_);
    return false;
}

} // namespace platform
