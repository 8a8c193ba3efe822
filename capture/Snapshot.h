// The region capture's Windows side: the desktop snapshot, the device
// contexts it is taken through, and the crop of one region of it into the
// held image. The crop's pixel work is RegionCrop's, which is portable.
#pragma once

#include "capture/CaptureMath.h"
#include "capture/Geometry.h"
#include "capture/RegionCrop.h"
#include "output/HeldImage.h"
#include "platform/Gdi.h"
#include "platform/Win.h"

#include <vector>

namespace capture {

// What a snapshot covers: its bounds on the screen (the virtual screen, the
// bounding rectangle of all displays) and where the displays lie within
// them.
struct Desktop {
    ScreenRect bounds;
    std::vector<ScreenRect> displays;
};

// The desktop as the system reports it now: every display.
Desktop CurrentDesktop();

// The two device contexts a snapshot is taken through, held for one
// snapshot: the whole screen's, and a memory DC compatible with it.
class SnapshotDcs {
public:
    SnapshotDcs();
    HDC Desk() const { return desk_.get(); }
    HDC Memory() const { return memory_.get(); }

private:
    platform::WindowDc desk_;
    platform::UniqueHdc memory_;
};

// One copy of the desktop in a 32-bit bottom-up DIB section: the screen's
// own depth on every current display, and its pixels can be read directly,
// so the crop is a plain copy instead of a device conversion. It knows its
// own size, place and pixels.
class Snapshot {
public:
    // Copies the desktop. The previous copy is given up first; its storage
    // is used again when it has the same size, so at most one snapshot
    // exists and a capture does not pay for a fresh bitmap (55 MB for a
    // 3840 x 2160 display beside a 2560 x 1440 one) each time.
    // A bitmap that cannot be had, or a screen that cannot be read (the
    // secure desktop, a locked or disconnected session), raises the
    // system's text (or "システム リソース不足です") and leaves no snapshot:
    // nothing of the previous capture is left to be cropped.
    void Take(const SnapshotDcs& dcs, const Desktop& desktop);

    HBITMAP Bitmap() const { return bitmap_.get(); }
    std::int32_t Width() const { return bounds_.right - bounds_.left; }
    std::int32_t Height() const { return bounds_.bottom - bounds_.top; }
    // The pixels, GDI's pending drawing flushed first.
    SnapshotPixels Pixels() const;

private:
    platform::UniqueHbitmap bitmap_;
    const std::uint8_t* bits_ = nullptr;
    ScreenRect bounds_;
    std::vector<ScreenRect> displays_;
};

// The region capture's crop: sizes the held image to the region and fills
// it from the snapshot, white where no display lies under the region. A
// held image whose storage cannot be had raises the error and keeps its size
// without storage.
void CropRegion(const Snapshot& snapshot, const CaptureRegion& region, output::HeldImage& image);

} // namespace capture
