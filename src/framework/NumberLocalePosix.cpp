// NumberLocale.h on POSIX systems: strtod_l with a "C" locale made once.
#include <locale.h>

#include <cstdlib>

#include "framework/NumberLocale.h"

double StrtodC(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale == static_cast<locale_t>(nullptr)) {
        return std::strtod(text.c_str(), nullptr);
    }
    return strtod_l(text.c_str(), nullptr, cLocale);
}
