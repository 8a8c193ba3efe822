// The held image: the one captured picture the window keeps. A 24-bit
// bottom-up DIB section, white when made, with a drawing DC made on first
// request and, on screens below 24 bits per pixel, a halftone palette that
// travels with the clipboard copy.
#pragma once

#include "output/ImageView.h"
#include "platform/DibSection.h"
#include "platform/Gdi.h"
#include "platform/Win.h"

#include <cstdint>
#include <memory>

namespace output {

class HeldImage;

// The storage of the last image released, kept for the next image of the
// same size. Repeated captures of one viewfinder then write into pages that
// are already there: touching a fresh 24 MB bitmap costs ten times the copy
// into it. Its owner (the capture window) makes its images with it and
// keeps it beyond them; at most one image's storage exists either way,
// because a capture releases the held image before it makes the next.
class SpareImageStorage {
public:
    SpareImageStorage() = default;
    SpareImageStorage(const SpareImageStorage&) = delete;
    SpareImageStorage& operator=(const SpareImageStorage&) = delete;

    bool Empty() const { return kept_.Empty(); }
    // Frees the storage kept.
    void Clear() { kept_.Clear(); }

private:
    friend class HeldImage;
    platform::KeptDib kept_{24, platform::RowOrder::BottomUp};
};

class HeldImage {
public:
    // An empty image: no size, no pixel storage. With a spare, its storage
    // is taken from the spare when the sizes match and left there when the
    // image is released; the spare must outlive the image.
    explicit HeldImage(SpareImageStorage* spare = nullptr);
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
    bool HasPixels() const { return storage_ && *storage_; }

    // The pixels as the file writers read them (GDI flushed first).
    ImageView View() const;
    // The same pixels for a capture that writes them (GDI flushed first).
    PixelView Pixels();
    HBITMAP Bitmap() const { return storage_ ? storage_->bitmap.get() : nullptr; }

    // The pixel storage itself, for an owner that must read this very
    // picture later, after the image is gone (the clipboard's PNG, made
    // when a program asks for it). The image is never drawn into after the
    // capture that made it, so a shared storage stays the copied picture;
    // it goes back to the spare only when no one else holds it.
    std::shared_ptr<const platform::DibSection> SharedPixels() const { return storage_; }

    // A memory DC compatible with the screen with the image selected (and
    // its palette, if any, realized); made on first request.
    HDC DrawingDc();
    HPALETTE Palette() const { return palette_.get(); }
    // Settles the palette rule now, as every capture does when it makes its
    // image: on a screen below 24 bits the image gets its halftone palette
    // (which travels with the clipboard copy). It makes the drawing DC.
    void SettlePalette() { DrawingDc(); }

    static long LiveCount();

private:
    SpareImageStorage* spare_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    // In unwinding order: the selections go first, then the DC, then what
    // was selected in it.
    std::shared_ptr<platform::DibSection> storage_;
    platform::UniqueHpalette palette_;
    platform::UniqueHdc dc_;
    platform::SelectGuard bitmapSelection_;
    platform::PaletteGuard paletteSelection_;
};

} // namespace output
