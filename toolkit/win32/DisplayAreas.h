// The displays as the portable placement rules take them, read from the
// system at the moment of asking: after a display change the list is new.
#pragma once

#include "toolkit/DesktopPlacement.h"

#include <vector>

namespace toolkit::win32 {

std::vector<DisplayArea> CurrentDisplayAreas();

} // namespace toolkit::win32
