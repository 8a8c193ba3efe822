// The number boxes' text forms: half-to-even display, the lenient reading of
// a commit and the strict 32-bit reading used when a typed size is applied.
#include "toolkit/NumberText.h"
#include "toolkit/RoundHalfEven.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using toolkit::FormatWholeNumber;
using toolkit::ParseInt32Text;
using toolkit::ParseNumberText;
using toolkit::RoundHalfEven;

constexpr double Infinity = std::numeric_limits<double>::infinity();

TEST(NumberText, RoundsHalfToEven) {
    struct Case {
        double value;
        double rounded;
    };
    const Case cases[] = {
        {626.25, 626},
        {751.5, 752},
        {1252.5, 1252},
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999999999999996, 2},
        {2.5000000000000004, 3},
        {-7.75, -8},
        {4503599627370497.0, 4503599627370497.0}, // beyond 2^52: already whole
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        double rounded = RoundHalfEven(c.value);
        EXPECT_EQ(rounded, c.rounded);
        EXPECT_FALSE(std::signbit(rounded) && rounded == 0) << "negative zero";
    }
    EXPECT_EQ(RoundHalfEven(Infinity), Infinity);
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
}

TEST(NumberText, FormatsNearestWholeNumberInPlainDigits) {
    struct Case {
        double value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {626.25, L"626"},
        {751.5, L"752"},
        {1252.5, L"1252"},
        {0, L"0"},
        {-0.4, L"0"},
        {-0.0, L"0"},
        {100000, L"100000"},
        {-12.5, L"-12"},
        {1e15, L"1000000000000000"},
        {2147483648.5, L"2147483648"},
        {Infinity, L""},
        {-Infinity, L""},
        {std::nan(""), L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatWholeNumber(c.value), c.text);
    }
    // The largest double is a 309-digit whole number; no digit may be lost.
    std::wstring largest = FormatWholeNumber(std::numeric_limits<double>::max());
    EXPECT_EQ(largest.size(), 309u);
    EXPECT_EQ(largest.substr(0, 6), L"179769");
}

TEST(NumberText, ReadsOptionalSignAndDigitsOnly) {
    struct Case {
        const wchar_t* text;
        std::optional<double> number;
    };
    const Case cases[] = {
        {L"640", 640}, {L"+640", 640}, {L"-640", -640}, {L"007", 7},  {L"0", 0},    {L"-0", 0},
        {L"", {}},     {L"+", {}},     {L"-", {}},      {L"+-", {}},  {L"-+5", {}}, {L"1-2", {}},
        {L"12+", {}},  {L"--5", {}},   {L" 5", {}},     {L"5.0", {}}, {L"1e3", {}}, {L"\uFF15", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(ParseNumberText(c.text), c.number);
    }
}

TEST(NumberText, ReadsVeryLongDigitStringsWithoutOverflow) {
    // 10^400 is beyond the double range: it saturates at the largest finite
    // double of its sign, so a clamping box sees "very large", not infinity.
    std::wstring huge = L"1" + std::wstring(400, L'0');
    EXPECT_EQ(ParseNumberText(huge), std::numeric_limits<double>::max());
    EXPECT_EQ(ParseNumberText(L"-" + huge), -std::numeric_limits<double>::max());
    // Leading zeros, however many, do not change the number.
    EXPECT_EQ(ParseNumberText(std::wstring(100000, L'0') + L"42"), 42.0);
    // Twenty digits: read to the nearest double, not wrapped like an integer.
    EXPECT_EQ(ParseNumberText(L"99999999999999999999"), 1e20);
}

TEST(NumberText, ReadsStrict32BitIntegers) {
    struct Case {
        const wchar_t* text;
        std::optional<std::int32_t> number;
    };
    const Case cases[] = {
        {L"640", 640},
        {L"+640", 640},
        {L"-640", -640},
        {L"0", 0},
        {L"-0", 0},
        {L"00000000000000000000000042", 42},
        {L"2147483647", 2147483647},
        {L"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {L"2147483648", {}},
        {L"-2147483649", {}},
        {L"99999999999999999999999999", {}},
        {L"", {}},
        {L"+", {}},
        {L"-", {}},
        {L"+-", {}},
        {L"1-2", {}},
        {L"12 ", {}},
        {L"0x10", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(ParseInt32Text(c.text), c.number);
    }
}

} // namespace
