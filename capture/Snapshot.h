// The region capture's Windows side: the desktop snapshot and the crop of
// one region of it into the held image. The crop's pixel work is
// RegionCrop's, which is portable.
#pragma once

#include "capture/CaptureMath.h"
#include "capture/Desktop.h"
#include "capture/Geometry.h"
#include "capture/RegionCrop.h"
#include "output/HeldImage.h"
#include "platform/DibSection.h"
#include "platform/Win.h"

#include <vector>

namespace capture {

// Where a snapshot shows the two device contexts it is taken through (the
// whole screen's, and a memory DC compatible with it) while it is taken:
// the capture window keeps them in fields its design names. They are set
// for the copy and null again afterwards, on every path.
struct SnapshotDcMirror {
    HDC* desk = nullptr;
    HDC* memory = nullptr;
};

// One copy of the desktop in a 32-bit bottom-up DIB section: the screen's
// own depth on every current display, and its pixels can be read directly,
// so the crop is a plain copy instead of a device conversion. It knows its
// own size, place and pixels.
class Snapshot {
public:
    explicit Snapshot(SnapshotDcMirror mirror = {}) : mirror_(mirror) {}

    // Copies the desktop through device contexts of its own, held for this
    // call. The previous copy is given up first; its storage is used again
    // when it has the same size, so at most one snapshot exists and a
    // capture does not pay for a fresh bitmap (55 MB for a 3840 x 2160
    // display beside a 2560 x 1440 one) each time.
    // A bitmap that cannot be had, or a screen that cannot be read (the
    // secure desktop, a locked or disconnected session), raises the
    // system's text (or "システム リソース不足です") and leaves no snapshot:
    // nothing of the previous capture is left to be cropped.
    void Take(const Desktop& desktop);

    HBITMAP Bitmap() const { return storage_.Section().bitmap.get(); }
    std::int32_t Width() const { return bounds_.right - bounds_.left; }
    std::int32_t Height() const { return bounds_.bottom - bounds_.top; }
    // The pixels, GDI's pending drawing flushed first.
    SnapshotPixels Pixels() const;

private:
    SnapshotDcMirror mirror_;
    platform::KeptDib storage_{32, platform::RowOrder::BottomUp};
    ScreenRect bounds_;
    std::vector<ScreenRect> displays_;
};

// The region capture's crop: sizes the held image to the region and fills
// it from the snapshot, white where no display lies under the region. A
// held image whose storage cannot be had raises the error and keeps its size
// without storage.
void CropRegion(const Snapshot& snapshot, const CaptureRegion& region, output::HeldImage& image);

} // namespace capture
