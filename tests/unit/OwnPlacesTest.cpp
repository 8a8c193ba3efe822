// Judging a reported place by what it is: the program's own places, also
// when the window system reports them late and in order, are never taken,
// nor is another's move twice; anyone else's move is, even onto a place the
// program left long ago or left before someone else moved the window.
#include "toolkit/OwnPlaces.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using toolkit::OwnPlaces;
using toolkit::ReportedPlace;

struct Step {
    bool handed; // handed over by the program, else reported by the system
    int x;
    int y;
    ReportedPlace judged = ReportedPlace::Other; // for a report
};

Step Hand(int x, int y) {
    return {true, x, y};
}
Step Report(int x, int y, ReportedPlace judged) {
    return {false, x, y, judged};
}

constexpr ReportedPlace Current = ReportedPlace::Current;
constexpr ReportedPlace Earlier = ReportedPlace::EarlierOwn;
constexpr ReportedPlace Other = ReportedPlace::Other;

TEST(OwnPlaces, JudgesReportsByPlace) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"nothing handed yet", {Report(0, 0, Other)}},
        {"a placement's own report",
         {Hand(10, 20), Report(10, 20, Current), Report(10, 20, Current)}},
        {"a drag reported late, in order",
         {Hand(10, 20), Hand(11, 20), Hand(12, 21), Report(10, 20, Earlier),
          Report(11, 20, Earlier), Report(12, 21, Current)}},
        {"a late report forgets what was handed before it",
         {Hand(10, 20), Hand(11, 20), Hand(12, 21), Report(11, 20, Earlier),
          Report(10, 20, Other)}},
        {"a late report of an earlier place stays own until a later one comes",
         {Hand(10, 20), Hand(11, 20), Report(10, 20, Earlier), Report(10, 20, Earlier),
          Report(11, 20, Current), Report(10, 20, Earlier)}},
        {"another's move", {Hand(10, 20), Report(300, 200, Other)}},
        {"another's move forgets the own places before it",
         {Hand(10, 20), Hand(11, 20), Report(300, 200, Other), Hand(299, 199),
          Report(10, 20, Other)}},
        {"another's move back where the program had the window",
         {Hand(10, 20), Hand(50, 60), Report(300, 200, Other), Hand(299, 199),
          Report(10, 20, Other)}},
        {"another's move, then the program's place for it, then the move reported again",
         {Hand(10, 20), Report(301, 203, Other), Hand(300, 202), Report(300, 202, Current),
          Report(301, 203, Earlier)}},
        {"another's move reported twice before the program shows its place",
         {Hand(10, 20), Report(301, 203, Other), Report(301, 203, Current)}},
        {"a place handed again is the current one",
         {Hand(10, 20), Hand(11, 20), Hand(10, 20), Report(10, 20, Current),
          Report(11, 20, Earlier)}},
        {"only the coordinates count, negative ones too",
         {Hand(-62, 5), Hand(0, 5), Report(-62, 5, Earlier), Report(5, -62, Other)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OwnPlaces places;
        int index = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(testing::Message() << "step " << index++ << " at " << s.x << "," << s.y);
            if (s.handed) {
                places.Handed(s.x, s.y);
            } else {
                EXPECT_EQ(places.Judge(s.x, s.y), s.judged);
            }
        }
    }
}

// A window system that reports nothing late (Windows) leaves the places of a
// long drag unreported: only the most recent are kept, so another's move
// onto an old one is taken.
TEST(OwnPlaces, KeepsOnlyTheMostRecentPlaces) {
    OwnPlaces places;
    const int count = int(OwnPlaces::Kept) + 40;
    for (int x = 0; x < count; ++x) {
        places.Handed(x, 7);
    }
    EXPECT_EQ(places.Pending(), OwnPlaces::Kept);
    EXPECT_EQ(places.Judge(count - 1 - int(OwnPlaces::Kept) - 1, 7), Other) << "kept too many";
    OwnPlaces again;
    for (int x = 0; x < count; ++x) {
        again.Handed(x, 7);
    }
    EXPECT_EQ(again.Judge(count - 1 - int(OwnPlaces::Kept), 7), Earlier) << "kept too few";
    EXPECT_EQ(again.Judge(count - 1, 7), Current);
}

} // namespace
