// Fuzzes the export's numeric conversions against the C library's: on any
// text, DecimalValue must equal strtod in the "C" locale whenever strtod
// read a decimal constant (hexadecimal, "inf" and "nan" are deliberately
// not numbers for DecimalValue), and IntegerValue must equal strtoll
// clamped to the 32-bit range. Texts are cut at their first zero byte for
// the C functions, which is where the conversions stop too.
#include <locale.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "source/NumericText.h"

namespace {

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

void CheckDecimal(std::string_view text) {
    const std::string copy(text.substr(0, text.find('\0')));
    char* end = nullptr;
    const double reference = strtod_l(copy.c_str(), &end, CLocale());
    const std::string_view read(copy.c_str(), static_cast<std::size_t>(end - copy.c_str()));
    if (read.find_first_of("xXiInN") != std::string_view::npos) {
        // Hexadecimal, infinity or NaN: not a decimal constant. What the
        // decimal reading gives must still be a plain number.
        const double value = DecimalValue(text);
        FUZZ_CHECK(value == value);
        return;
    }
    FUZZ_CHECK(DecimalValue(text) == reference);
}

void CheckInteger(std::string_view text) {
    const std::string copy(text.substr(0, text.find('\0')));
    const long long wide = std::strtoll(copy.c_str(), nullptr, 10);
    constexpr long long kMin = std::numeric_limits<std::int32_t>::min();
    constexpr long long kMax = std::numeric_limits<std::int32_t>::max();
    const long long clamped = wide < kMin ? kMin : (wide > kMax ? kMax : wide);
    FUZZ_CHECK(IntegerValue(text) == clamped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckDecimal(text);
    CheckInteger(text);
    return 0;
}
