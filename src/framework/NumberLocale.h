// Reading a number whatever the process's locale: the decimal point is '.',
// as in the "C" locale, even when the user's locale says ','. One
// implementation per system (NumberLocalePosix.cpp, NumberLocaleWin32.cpp).
#pragma once

#include <string>

// strtod() of TEXT in the "C" locale: the value of its longest prefix that
// reads as a number (0 when none does), out-of-range values as strtod
// gives them.
double StrtodC(const std::string& text);
