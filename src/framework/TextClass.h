// The classes of 8-bit text the program tells apart, one rule each:
//
// - a control character: a C0 control (0x00-0x1F) or DEL (0x7F);
// - printable ASCII: space (0x20) to '~' (0x7E).
//
// Bytes from 0x80 on are neither: they belong to text in some encoding.
// The predicates take any character type (char, unsigned char, a UTF-16
// unit) and look at its value as unsigned.
#pragma once

#include <string_view>
#include <type_traits>

template <typename Char>
constexpr bool IsControl(Char c) {
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code < 0x20 || code == 0x7F;
}

template <typename Char>
constexpr bool IsPrintableAscii(Char c) {
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code >= 0x20 && code < 0x7F;
}

// TRUE when TEXT holds a control character.
constexpr bool HasControl(std::string_view text) {
    for (const char c : text) {
        if (IsControl(c)) {
            return true;
        }
    }
    return false;
}
