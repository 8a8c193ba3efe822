// Number texts of the number boxes. Reading goes through std::from_chars so a
// typed number becomes the correctly rounded double whatever its length, and
// the box's clamping, not this reader, decides what an oversized number means.
#include "toolkit/NumberText.h"

#include "toolkit/RoundHalfEven.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace toolkit {

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Splits text into its sign and its digits; nothing unless text is an
// optional sign followed by at least one digit and nothing else.
struct SignedDigits {
    bool negative = false;
    std::wstring_view digits;
};

std::optional<SignedDigits> SplitSignedDigits(std::wstring_view text) {
    SignedDigits result;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        result.negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    for (wchar_t c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
    }
    result.digits = text;
    return result;
}

} // namespace

std::wstring FormatWholeNumber(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    // The largest double has 309 digits before the point.
    char buffer[330];
    auto [end, error] = std::to_chars(std::begin(buffer), std::end(buffer), RoundHalfEven(value),
                                      std::chars_format::fixed, 0);
    if (error != std::errc()) {
        return {};
    }
    return std::wstring(std::begin(buffer), end);
}

std::optional<double> ParseNumberText(std::wstring_view text) {
    std::optional<SignedDigits> parts = SplitSignedDigits(text);
    if (!parts) {
        return std::nullopt;
    }
    std::wstring_view digits = parts->digits;
    // Leading zeros change nothing; dropping them keeps the copy short.
    while (digits.size() > 1 && digits.front() == L'0') {
        digits.remove_prefix(1);
    }
    std::string narrow(digits.begin(), digits.end()); // all ASCII digits
    double magnitude = 0;
    auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), magnitude);
    if (error == std::errc::result_out_of_range) {
        magnitude = std::numeric_limits<double>::max();
    } else if (error != std::errc() || end != narrow.data() + narrow.size()) {
        return std::nullopt; // cannot happen for plain digits; refuse rather than guess
    }
    return parts->negative ? -magnitude : magnitude;
}

std::optional<std::int32_t> ParseInt32Text(std::wstring_view text) {
    std::optional<SignedDigits> parts = SplitSignedDigits(text);
    if (!parts) {
        return std::nullopt;
    }
    // Accumulate the magnitude in 64 bits and stop as soon as it leaves the
    // range, so any number of digits is handled without overflow.
    const std::int64_t limit =
        parts->negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t magnitude = 0;
    for (wchar_t c : parts->digits) {
        magnitude = magnitude * 10 + (c - L'0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(parts->negative ? -magnitude : magnitude);
}

} // namespace toolkit
