// The text forms of the number boxes' values: how a value is shown, how a
// box's text is read when the box commits it, and the strict whole-number
// reading used when a typed size is applied to the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

// The nearest whole number to value (a half to the even neighbour) in plain
// decimal digits, a leading '-' when negative, no separators: 626.25 -> "626",
// 751.5 -> "752", 1252.5 -> "1252", -0.4 -> "0". Infinities and NaN have no
// whole number and give an empty text.
std::wstring FormatWholeNumber(double value);

// Reads a box's text as a number: an optional '+' or '-' followed by one or
// more decimal digits and nothing else. Empty text, a lone sign, two signs or
// a sign after a digit ("1-2") do not read as a number. Digit strings of any
// length are read; beyond the double range the result saturates at the
// largest finite double of that sign instead of overflowing.
std::optional<double> ParseNumberText(std::wstring_view text);

// Reads text as a 32-bit signed decimal integer: an optional leading '+' or
// '-', then one or more decimal digits, nothing else, and within
// [-2147483648, 2147483647]. Anything else gives nothing.
std::optional<std::int32_t> ParseInt32Text(std::wstring_view text);

} // namespace toolkit
