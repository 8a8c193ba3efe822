// The two GDI steps of a region capture: a snapshot of the whole primary
// display at its physical size, and the copy of one region of it into the
// held image, clipped to the snapshot so that what lies off the display
// stays white.
#pragma once

#include "capture/CaptureMath.h"
#include "platform/Gdi.h"

namespace capture {

// A bitmap in the screen's format holding the primary display, copied from
// the screen DC `desk` through the memory DC `memory`. The previous
// snapshot is given up first; its storage is used again when it has the
// display's size, so at most one snapshot exists and a capture does not
// pay for a fresh 33 MB bitmap each time.
platform::UniqueHbitmap TakeSnapshot(HDC desk, HDC memory, SIZE displaySize,
                                     platform::UniqueHbitmap previous = {});

// The part of a region that lies on the snapshot, in the region's own
// coordinates (0,0 = its top-left); empty when none does.
RECT RegionOnSnapshot(const CaptureRegion& region, SIZE snapshotSize);

// Copies the region of the snapshot (selected through `memory`) to (0, 0)
// of `target`: only the part that lies on the snapshot, as a direct pixel
// copy when the snapshot is 32-bit and target holds a 24-bit DIB, else with
// BitBlt. False when the copy failed.
bool CopyRegion(HDC target, HDC memory, HBITMAP snapshot, SIZE snapshotSize,
                const CaptureRegion& region);

} // namespace capture
