#include "toolkit/KeptOnScreen.h"

namespace toolkit {

namespace {

bool Inside(RectI r, RectI area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
           r.bottom <= area.bottom;
}

} // namespace

bool KeptOnScreen(RectI formWindow, int reportedLeft, int reportedTop, RectI desktop) {
    if (formWindow.Empty() || Inside(formWindow, desktop)) {
        return false;
    }
    const RectI reported{reportedLeft, reportedTop, reportedLeft + formWindow.Width(),
                         reportedTop + formWindow.Height()};
    return Inside(reported, desktop);
}

} // namespace toolkit
