#include "toolkit/win32/DisplayAreas.h"

#include "platform/Display.h"

namespace toolkit::win32 {

namespace {

RectI ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

std::vector<DisplayArea> CurrentDisplayAreas() {
    std::vector<DisplayArea> areas;
    for (const platform::DisplayWorkArea& d : platform::DisplayWorkAreas()) {
        areas.push_back({ToRect(d.monitor), ToRect(d.work)});
    }
    return areas;
}

} // namespace toolkit::win32
