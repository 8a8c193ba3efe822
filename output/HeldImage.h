// The held image: the one captured picture the window keeps. A 24-bit
// bottom-up DIB section, white when made, with a drawing DC made on first
// request and, on screens below 24 bits per pixel, a halftone palette that
// travels with the clipboard copy.
#pragma once

#include "output/ImageView.h"
#include "platform/Gdi.h"
#include "platform/Win.h"

#include <cstdint>

namespace output {

class HeldImage {
public:
    // An empty image: no size, no pixel storage.
    HeldImage();
    ~HeldImage();
    HeldImage(const HeldImage&) = delete;
    HeldImage& operator=(const HeldImage&) = delete;

    // Sets both sides and makes the white pixel storage when both are non-
    // zero. When the storage cannot be had the error carries the system's
    // text (or "システム リソース不足です") and the image keeps its size
    // without storage.
    void SetSize(std::int32_t width, std::int32_t height);

    // Makes the storage without painting it first (its pixels are
    // undefined: fresh, or a released image's), for a caller that
    // overwrites most of it at once and paints the rest white itself (the
    // region capture: it saves touching every byte of a large image twice).
    void SetSizeUnpainted(std::int32_t width, std::int32_t height);

    // Paints white the pixels of the rectangle [left, right) x [top, bottom)
    // (picture coordinates, top row 0), clipped to the image.
    void PaintWhite(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    bool HasPixels() const { return bitmap_ && bits_ != nullptr; }

    // The pixels as the file writers read them (GDI flushed first).
    ImageView View() const;
    // The same pixels for a capture that writes them (GDI flushed first).
    PixelView Pixels();
    HBITMAP Bitmap() const { return bitmap_.get(); }

    // A memory DC compatible with the screen with the image selected (and
    // its palette, if any, realized); made on first request.
    HDC DrawingDc();
    HPALETTE Palette() const { return palette_.get(); }

    static long LiveCount();

    // Frees the storage kept from the last image released (see the .cpp);
    // for the end of the program and for tests that count bitmaps.
    static void ReleaseSpareStorage();

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    void* bits_ = nullptr;
    platform::UniqueHdc dc_;
    platform::UniqueHbitmap bitmap_;
    platform::UniqueHpalette palette_;
    HGDIOBJ previousBitmap_ = nullptr;
    HPALETTE previousPalette_ = nullptr;
};

} // namespace output
