// Conversions of the export's numeric columns, with the C library's rules:
// leading white space (" \t\n\v\f\r") is skipped, the longest valid prefix
// is converted, and text without one converts to 0.
//
// Both are independent of the process locale: the decimal point is always
// '.', whatever LC_NUMERIC the user interface may have set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The value of the longest prefix of TEXT that is a decimal floating
// constant: [sign] digits [. digits] [(e|E) [sign] digits], or one starting
// with '.'. Only decimal notation counts: "inf", "nan" and hexadecimal
// "0x.." are not numbers here (so a header such as "Info" converts to 0,
// and "0x1A" to 0). Correctly rounded; a value too large for a double gives
// +/-HUGE_VAL, one too small gives 0 or a subnormal, as strtod does.
double DecimalValue(std::string_view text);

// Bytes of TEXT that DecimalValue converts: leading white space, sign and
// number; 0 when TEXT has no number (and converts to 0).
std::size_t DecimalPrefixLength(std::string_view text);

// The value of the longest prefix of TEXT that is [sign] digits, in base
// 10. Unlike atoi, whose result is undefined out of range, a value outside
// the 32-bit range is clamped to INT32_MIN or INT32_MAX.
std::int32_t IntegerValue(std::string_view text);

// The same prefix's value clamped to +/-kWideIntegerLimit instead: wide
// enough to tell that, and by how much, a number lies outside the 32-bit
// range, and to add and subtract such values without overflow.
inline constexpr std::int64_t kWideIntegerLimit = 1'000'000'000'000'000'000;
std::int64_t WideIntegerValue(std::string_view text);
