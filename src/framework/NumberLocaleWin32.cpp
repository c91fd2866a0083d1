// NumberLocale.h on Windows: the C runtime's _strtod_l with a "C" locale
// made once.
#include <locale.h>
#include <stdlib.h>

#include "framework/NumberLocale.h"

double StrtodC(const std::string& text) {
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    if (cLocale == nullptr) {
        return std::strtod(text.c_str(), nullptr);
    }
    return _strtod_l(text.c_str(), nullptr, cLocale);
}
