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
    if (places_.empty()) {
        return ReportedPlace::Other;
    }
    if (places_.back() == Place{x, y}) {
        return ReportedPlace::Current;
    }
    const auto found = std::find(places_.begin(), places_.end(), Place{x, y});
    if (found != places_.end()) {
        places_.erase(places_.begin(), found);
        return ReportedPlace::EarlierOwn;
    }
    places_.clear();
    return ReportedPlace::Other;
}

} // namespace toolkit
