// The places the program itself handed to the window system, so that a
// place the system reports is judged by what it is, not by who sent it:
// the program's own (the place it shows now, or an earlier one that the
// window system reports late, as Wine's X driver does from X events that
// arrive after the next placement) or a move by someone else, which the form
// takes. The window system reports places in the order they came to be, so
// once an earlier own place is reported, none handed before it can follow.
// A place taken from someone else counts as handed over from then on.
#pragma once

#include <cstddef>
#include <vector>

namespace toolkit {

enum class ReportedPlace {
    Current,    // the place the program shows the window at now
    EarlierOwn, // a place the program handed over before; the window is shown elsewhere now
    Other,      // a move by the system, another program or the window manager
};

class OwnPlaces {
public:
    // A place handed to the window system: the current one from now on.
    void Handed(int x, int y);
    // What a reported place is. An earlier own place forgets those handed
    // before it; another's move forgets them all and is kept in their stead.
    ReportedPlace Judge(int x, int y);
    // Places kept besides the current one, most recent last.
    std::size_t Pending() const { return places_.empty() ? 0 : places_.size() - 1; }

    // More are never waited for: a window system that reports nothing late
    // (Windows) would otherwise keep every place of a long drag, and another
    // program's move onto one of those would be taken for the program's own.
    static constexpr std::size_t Kept = 32;

private:
    struct Place {
        int x = 0;
        int y = 0;
        bool operator==(const Place&) const = default;
    };
    std::vector<Place> places_; // handing order; the last is current
};

} // namespace toolkit
