#include "source/NumericText.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

#include "framework/NumberLocale.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    return i;
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i;
}

// Length of the unsigned decimal constant at the start of TEXT; 0 if none.
std::size_t DecimalLength(std::string_view text) {
    std::size_t i = SkipDigits(text, 0);
    bool digits = i > 0;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = SkipDigits(text, i + 1);
        digits = digits || fraction > i + 1;
        i = fraction;
    }
    if (!digits) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) {
            ++e;
        }
        const std::size_t end = SkipDigits(text, e);
        if (end > e) {
            i = end;
        }
    }
    return i;
}

}  // namespace

std::size_t DecimalPrefixLength(std::string_view text) {
    std::size_t i = SkipSpace(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t length = DecimalLength(text.substr(i));
    return length == 0 ? 0 : i + length;
}

double DecimalValue(std::string_view text) {
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view rest = text.substr(i);
    const std::size_t length = DecimalLength(rest);
    if (length == 0) {
        return 0.0;
    }
    const std::string_view number = rest.substr(0, length);
    double value = 0.0;
    // from_chars is locale-free and correctly rounded, like strtod.
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) {
        value = StrtodC(std::string(number));
    }
    return negative ? -value : value;
}

std::int64_t WideIntegerValue(std::string_view text) {
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude, stopping its growth at the limit.
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude > kWideIntegerLimit / 10
                        ? kWideIntegerLimit
                        : std::min(magnitude * 10 + (text[i] - '0'), kWideIntegerLimit);
    }
    return negative ? -magnitude : magnitude;
}

std::int32_t IntegerValue(std::string_view text) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(WideIntegerValue(text), std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}
