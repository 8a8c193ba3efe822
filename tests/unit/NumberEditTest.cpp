// The number box's behaviour as the user sees it: what it shows for a value,
// what typing, committing, Esc, arrows, wheel and dragging do, and how the
// caret and selection move while editing.
#include "toolkit/NumberEdit.h"
#include "toolkit/NumberText.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using toolkit::EditKey;
using toolkit::NumberEdit;

// The two boxes of the window: the width box allows ten times the height's
// maximum.
NumberEdit WidthBox(double value) {
    NumberEdit box(0, 100000);
    box.SetValue(value);
    return box;
}

NumberEdit HeightBox(double value) {
    NumberEdit box(0, 10000);
    box.SetValue(value);
    return box;
}

// Replaces the whole text by typing, as a user selecting all and typing does.
void TypeOver(NumberEdit& box, std::wstring_view text) {
    box.SelectAll();
    box.DeleteSelection();
    for (wchar_t c : text) {
        box.TypeChar(c);
    }
}

TEST(NumberEdit, ShowsClampedValueAsNearestWholeNumber) {
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    struct Case {
        bool heightBox;
        double set;
        double value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {false, 626.25, 626.25, L"626"},
        {false, 751.5, 751.5, L"752"},
        {false, 1252.5, 1252.5, L"1252"},
        {true, 415, 415, L"415"},
        {false, 12000, 12000, L"12000"},
        {true, 12000, 10000, L"10000"},
        {false, 250000, 100000, L"100000"},
        {false, -3, 0, L"0"},
        {false, -0.0, 0, L"0"},
        {true, 9999.5, 9999.5, L"10000"},
        {false, Infinity, 100000, L"100000"},
        {true, -Infinity, 0, L"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.heightBox ? "height " : "width ") << c.set);
        NumberEdit box = c.heightBox ? HeightBox(c.set) : WidthBox(c.set);
        EXPECT_EQ(box.Value(), c.value);
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_EQ(box.Caret(), box.Text().size());
        EXPECT_FALSE(box.HasSelection());
    }
}

TEST(NumberEdit, NaNLeavesValueAndShowsItAgain) {
    NumberEdit box = WidthBox(501);
    TypeOver(box, L"7");
    box.SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(box.Value(), 501);
    EXPECT_EQ(box.Text(), L"501");
}

TEST(NumberEdit, RejectsEmptyOrInvertedRange) {
    EXPECT_THROW(NumberEdit(10, 0), std::invalid_argument);
    EXPECT_THROW(NumberEdit(0, std::numeric_limits<double>::infinity()), std::invalid_argument);
    NumberEdit box(3, 3);
    EXPECT_EQ(box.Text(), L"3");
}

TEST(NumberEdit, AcceptsOnlyDigitsAndSigns) {
    NumberEdit box = WidthBox(5);
    for (wchar_t c : std::wstring(L"0123456789-+")) {
        EXPECT_TRUE(box.TypeChar(c)) << static_cast<int>(c);
    }
    EXPECT_EQ(box.Text(), L"50123456789-+");
    for (wchar_t c : std::wstring(L"a.e, \t\u00A0\uFF15\u0660")) {
        EXPECT_FALSE(box.TypeChar(c)) << static_cast<int>(c);
    }
    EXPECT_EQ(box.Text(), L"50123456789-+");
}

// The text typed but not committed is what the window reads when it applies
// the size; it must be kept exactly, sign included, until the box commits.
TEST(NumberEdit, KeepsTypedTextUntilCommitted) {
    NumberEdit box = WidthBox(501);
    TypeOver(box, L"+640");
    EXPECT_EQ(box.Text(), L"+640");
    EXPECT_EQ(box.Value(), 501);
    EXPECT_EQ(toolkit::ParseInt32Text(box.Text()), 640);
    box.KeyDown(EditKey::Enter, false);
    EXPECT_EQ(box.Text(), L"640");
    EXPECT_EQ(box.Value(), 640);
}

TEST(NumberEdit, CommitsOnEnterAndOnFocusLoss) {
    struct Case {
        bool heightBox;
        const wchar_t* typed;
        double value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {true, L"12000", 10000, L"10000"}, // the height box's maximum
        {false, L"12000", 12000, L"12000"},
        {false, L"+640", 640, L"640"},
        {false, L"007", 7, L"7"},
        {false, L"-5", 0, L"0"},
        {false, L"-0", 0, L"0"},
        {false, L"", 0, L"0"},       // empty means the minimum
        {false, L"+-", 415, L"415"}, // unreadable: value unchanged
        {false, L"1-2", 415, L"415"},
        {false, L"-", 415, L"415"},
        {false, L"99999999999999999999999", 100000, L"100000"},
    };
    for (const Case& c : cases) {
        for (bool viaEnter : {true, false}) {
            SCOPED_TRACE(testing::Message() << (c.heightBox ? "height " : "width ")
                                            << testing::PrintToString(std::wstring(c.typed))
                                            << (viaEnter ? " Enter" : " focus loss"));
            NumberEdit box = c.heightBox ? HeightBox(415) : WidthBox(415);
            TypeOver(box, c.typed);
            if (viaEnter) {
                box.KeyDown(EditKey::Enter, false);
            } else {
                box.FocusLost();
            }
            EXPECT_EQ(box.Value(), c.value);
            EXPECT_EQ(box.Text(), c.text);
        }
    }
}

TEST(NumberEdit, CommitWithoutTypingKeepsTheExactValue) {
    // The box holds 626.25 and shows 626; focusing in and out must not turn
    // the value into its rounded text.
    NumberEdit box = WidthBox(626.25);
    box.FocusLost();
    box.KeyDown(EditKey::Enter, false);
    EXPECT_EQ(box.Value(), 626.25);
    // Esc shows the value again; committing after it reads nothing new either.
    TypeOver(box, L"9");
    box.KeyDown(EditKey::Escape, false);
    box.KeyDown(EditKey::Enter, false);
    EXPECT_EQ(box.Value(), 626.25);
}

TEST(NumberEdit, EscapeRestoresValueTextAndSelectsIt) {
    NumberEdit box = HeightBox(415);
    TypeOver(box, L"+12");
    box.KeyDown(EditKey::Escape, false);
    EXPECT_EQ(box.Text(), L"415");
    EXPECT_EQ(box.Value(), 415);
    EXPECT_EQ(box.SelectionStart(), 0u);
    EXPECT_EQ(box.SelectionEnd(), 3u);
    EXPECT_EQ(box.SelectedText(), L"415");
    // Typing now replaces the whole value text.
    box.TypeChar(L'8');
    EXPECT_EQ(box.Text(), L"8");
}

TEST(NumberEdit, ArrowsAndWheelStepTheCurrentText) {
    enum class Action { Up, Down, Wheel };
    struct Case {
        const char* name;
        bool heightBox;
        double value;
        const wchar_t* typed; // nullptr: nothing typed
        Action action;
        int notches;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"value up", false, 501, nullptr, Action::Up, 0, L"502"},
        {"value down", false, 501, nullptr, Action::Down, 0, L"500"},
        {"typed text up", false, 501, L"640", Action::Up, 0, L"641"},
        {"typed sign down", false, 501, L"+640", Action::Down, 0, L"639"},
        {"unreadable uses value", false, 501, L"+-", Action::Up, 0, L"502"},
        {"empty reads as minimum", false, 501, L"", Action::Up, 0, L"1"},
        {"below minimum clamps", false, 501, L"-5", Action::Up, 0, L"0"},
        {"above maximum clamps", true, 415, L"12000", Action::Down, 0, L"10000"},
        {"at maximum", true, 10000, nullptr, Action::Up, 0, L"10000"},
        {"at minimum", false, 0, nullptr, Action::Down, 0, L"0"},
        {"fraction kept", false, 626.25, nullptr, Action::Up, 0, L"627"},
        {"wheel up three", false, 501, nullptr, Action::Wheel, 3, L"504"},
        {"wheel down two", false, 501, L"640", Action::Wheel, -2, L"638"},
        {"wheel zero", false, 501, L"640", Action::Wheel, 0, L"640"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NumberEdit box = c.heightBox ? HeightBox(c.value) : WidthBox(c.value);
        if (c.typed) {
            TypeOver(box, c.typed);
        }
        switch (c.action) {
        case Action::Up:
            box.KeyDown(EditKey::Up, false);
            break;
        case Action::Down:
            box.KeyDown(EditKey::Down, false);
            break;
        case Action::Wheel:
            box.Wheel(c.notches);
            break;
        }
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_GE(box.Value(), box.Minimum());
        EXPECT_LE(box.Value(), box.Maximum());
    }
}

TEST(NumberEdit, SteppingAFractionalValueAddsToTheValue) {
    NumberEdit box = WidthBox(626.25);
    box.KeyDown(EditKey::Up, false);
    EXPECT_EQ(box.Value(), 627.25);
}

TEST(NumberEdit, DragStepsAfterThresholdFromThePreviousStep) {
    struct Move {
        float x;
        float y;
        bool valueDrag;
        double value;
    };
    struct Case {
        const char* name;
        std::vector<Move> moves;
    };
    // Every drag presses at (100, 10) on a width box holding 500.
    const Case cases[] = {
        {"within threshold is a click", {{105, 15, false, 500}, {95, 5, false, 500}}},
        {"right past threshold adds one",
         {{106, 10, true, 501}, {107, 10, true, 501}, {107.5f, 10, true, 502}}},
        {"left past threshold subtracts one", {{94, 12, true, 499}, {92.5f, 30, true, 498}}},
        {"up adds five", {{101, 4, true, 505}, {101, 2.5f, true, 510}, {101, 5, true, 505}}},
        {"equal distances go vertical", {{106, 16, true, 495}, {120, 16, true, 495}}},
        {"horizontal ignores vertical", {{106, 10, true, 501}, {106, 50, true, 501}}},
        {"one step per movement", {{200, 10, true, 501}, {300, 10, true, 502}}},
        {"steps measure from last step",
         {{106, 10, true, 501}, {105.5f, 10, true, 501}, {104.5f, 10, true, 500}}},
        {"threshold then back to press point",
         {{103, 10, false, 500}, {100, 16, true, 495}, {100, 10, true, 500}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NumberEdit box = WidthBox(500);
        box.DragPress(100, 10);
        for (const Move& m : c.moves) {
            SCOPED_TRACE(testing::Message() << "to " << m.x << "," << m.y);
            EXPECT_EQ(box.DragMove(m.x, m.y), m.valueDrag);
            EXPECT_EQ(box.Value(), m.value);
        }
    }
}

TEST(NumberEdit, ClickWithoutDragLeavesCaretAndText) {
    NumberEdit box = WidthBox(640);
    TypeOver(box, L"+64");
    box.SetCaret(1, false);
    box.DragPress(20, 8);
    EXPECT_FALSE(box.DragMove(24, 12));
    box.DragRelease();
    EXPECT_EQ(box.Text(), L"+64");
    EXPECT_EQ(box.Caret(), 1u);
    EXPECT_EQ(box.Value(), 640);
}

TEST(NumberEdit, DragStartsFromTypedTextAndStopsAtRelease) {
    NumberEdit box = HeightBox(415);
    TypeOver(box, L"9998");
    box.DragPress(0, 0);
    EXPECT_TRUE(box.DragMove(0, -6)); // up: 9998 + 5, clamped
    EXPECT_EQ(box.Text(), L"10000");
    box.DragRelease();
    EXPECT_FALSE(box.IsValueDrag());
    EXPECT_FALSE(box.DragMove(0, 100));
    EXPECT_EQ(box.Value(), 10000);
}

TEST(NumberEdit, EditingKeysMoveCaretAndSelection) {
    struct Case {
        const char* name;
        std::size_t anchor; // on the text "12345"
        std::size_t caret;
        EditKey key;
        bool shift;
        const wchar_t* text;
        std::size_t newAnchor;
        std::size_t newCaret;
    };
    const Case cases[] = {
        {"left", 3, 3, EditKey::Left, false, L"12345", 2, 2},
        {"left at start", 0, 0, EditKey::Left, false, L"12345", 0, 0},
        {"shift left extends", 3, 3, EditKey::Left, true, L"12345", 3, 2},
        {"left collapses to start", 4, 1, EditKey::Left, false, L"12345", 1, 1},
        {"right", 3, 3, EditKey::Right, false, L"12345", 4, 4},
        {"right at end", 5, 5, EditKey::Right, false, L"12345", 5, 5},
        {"shift right shrinks", 4, 1, EditKey::Right, true, L"12345", 4, 2},
        {"right collapses to end", 4, 1, EditKey::Right, false, L"12345", 4, 4},
        {"home", 3, 3, EditKey::Home, false, L"12345", 0, 0},
        {"shift home", 3, 3, EditKey::Home, true, L"12345", 3, 0},
        {"end", 1, 1, EditKey::End, false, L"12345", 5, 5},
        {"shift end", 1, 1, EditKey::End, true, L"12345", 1, 5},
        {"backspace", 3, 3, EditKey::Backspace, false, L"1245", 2, 2},
        {"backspace at start", 0, 0, EditKey::Backspace, false, L"12345", 0, 0},
        {"backspace selection", 1, 4, EditKey::Backspace, false, L"15", 1, 1},
        {"delete", 3, 3, EditKey::Delete, false, L"1235", 3, 3},
        {"delete at end", 5, 5, EditKey::Delete, false, L"12345", 5, 5},
        {"delete selection", 4, 1, EditKey::Delete, true, L"15", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NumberEdit box = WidthBox(12345);
        box.SetCaret(c.anchor, false);
        box.SetCaret(c.caret, true);
        box.KeyDown(c.key, c.shift);
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_EQ(box.SelectionAnchor(), c.newAnchor);
        EXPECT_EQ(box.Caret(), c.newCaret);
        EXPECT_EQ(box.Value(), 12345); // editing never commits
    }
}

TEST(NumberEdit, CaretStaysInsideText) {
    NumberEdit box = WidthBox(42);
    box.SetCaret(1000, false);
    EXPECT_EQ(box.Caret(), 2u);
    box.SetCaret(0, false);
    box.SetCaret(std::numeric_limits<std::size_t>::max(), true);
    EXPECT_EQ(box.SelectionAnchor(), 0u);
    EXPECT_EQ(box.Caret(), 2u);
}

TEST(NumberEdit, TypingAndPastingReplaceTheSelection) {
    NumberEdit box = WidthBox(12345);
    box.SetCaret(1, false);
    box.SetCaret(3, true);
    EXPECT_EQ(box.SelectedText(), L"23");
    EXPECT_TRUE(box.TypeChar(L'9'));
    EXPECT_EQ(box.Text(), L"1945");
    EXPECT_EQ(box.Caret(), 2u);

    // Only accepted characters of a paste are inserted, in their order.
    box.SetCaret(0, false);
    box.SetCaret(4, true);
    EXPECT_TRUE(box.Paste(L" 1,024 px\t-+"));
    EXPECT_EQ(box.Text(), L"1024-+");
    EXPECT_EQ(box.Caret(), 6u);
    EXPECT_FALSE(box.HasSelection());

    // A paste with nothing acceptable changes nothing, selection included.
    box.SetCaret(0, false);
    box.SetCaret(4, true);
    EXPECT_FALSE(box.Paste(L"abc"));
    EXPECT_EQ(box.Text(), L"1024-+");
    EXPECT_EQ(box.SelectedText(), L"1024");

    box.DeleteSelection();
    EXPECT_EQ(box.Text(), L"-+");
    EXPECT_EQ(box.Caret(), 0u);
    EXPECT_EQ(box.SelectedText(), L"");
}

} // namespace
