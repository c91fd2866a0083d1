// Letter case of 8-bit text, ASCII only: 'A' to 'Z' and 'a' to 'z' are the
// same letter, every other byte is only itself, whatever the locale of the
// process (the dialog runs in the user's). The instrument's file system
// compares method and data file names this way, and the data system's
// settings file its keys.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// TEXT with every ASCII capital made small.
inline std::string AsciiFolded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), AsciiLower);
    return folded;
}

// TRUE when A and B differ at most in ASCII case.
constexpr bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}
