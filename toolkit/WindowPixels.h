// Where a window's pixels lie on the screen: the one rule that turns the
// window's logical place and size into the physical rectangle it paints.
// The form shows itself there, the host clips that rectangle to the desktop,
// and the placement on the desktop judges by its last row and column, so
// all three agree with the pixels to the last one.
#pragma once

#include "toolkit/Geometry.h"

namespace toolkit {

// The window at logical (left, top), width x height units, with bars of
// barHeight units aligned to its top, at this scale. The left and top edges
// truncate the logical edge times the scale and the width truncates its
// product, as the capture converts; below the bars the area keeps exactly
// its own truncated size from the truncated edge where it starts, and the
// bars take any slack, so the bottom edge is that area's. Half-open:
// the last painted row is bottom - 1, the last column right - 1.
RectI WindowPixels(int left, int top, int width, int height, double barHeight, float scale);

} // namespace toolkit
