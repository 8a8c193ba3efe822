#include "toolkit/OwnPlaces.h"

#include <algorithm>

namespace toolkit {

void OwnPlaces::Handed(int x, int y) {
    // A place handed again is reported after the newer hand-over, if at all.
    std::erase(places_, Place{x, y});
    places_.push_back({x, y});
    if (places_.size() > Kept + 1) {
        places_.erase(places_.begin(), places_.end() - std::ptrdiff_t(Kept + 1));
    }
}

ReportedPlace OwnPlaces::Judge(int x, int y) {
    if (!places_.empty() && places_.back() == Place{x, y}) {
        return ReportedPlace::Current;
    }
    const auto found = std::find(places_.begin(), places_.end(), Place{x, y});
    if (found != places_.end()) {
        places_.erase(places_.begin(), found);
        return ReportedPlace::EarlierOwn;
    }
    // Every own place before it is superseded. The place itself is the
    // window's now, taken by the form: a report repeating it later (the X
    // server's answer to the move) is not a new move, however far the form
    // has shifted the system window meanwhile.
    places_.assign(1, Place{x, y});
    return ReportedPlace::Other;
}

} // namespace toolkit
