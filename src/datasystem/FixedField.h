// The text fields of the data system's records (GLOBAL_FILE_INFO, SAMPLE_RECORD):
// 8-bit text in a char array of fixed span, ending at its first zero byte or
// at the end of the span. A field read from a file or another program may
// hold no zero at all, so nothing here reads or writes past the span.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

// The text of the SPAN bytes at FIELD, up to the first zero.
inline std::string_view FixedFieldText(const char* field, std::size_t span) {
    return std::string_view(field, strnlen(field, span));
}

template <std::size_t N>
std::string_view FixedFieldText(const char (&field)[N]) {
    return FixedFieldText(field, N);
}

// FIELD holds a zero byte: its text ends within its span.
template <std::size_t N>
bool IsFixedFieldTerminated(const char (&field)[N]) {
    return std::memchr(field, '\0', N) != nullptr;
}

// Writes TEXT, every byte of it, and zero fill to the end of FIELD; false,
// with FIELD untouched, when TEXT and a terminating zero do not fit. For
// texts that must arrive whole (a location: a cut one names another place).
template <std::size_t N>
bool WriteFixedField(char (&field)[N], std::string_view text) {
    if (text.size() >= N) {
        return false;
    }
    if (!text.empty()) {
        std::memcpy(field, text.data(), text.size());
    }
    std::memset(field + text.size(), 0, N - text.size());
    return true;
}

// Writes TEXT up to its first zero byte, cut to the N - 1 characters that
// leave room for a zero, and zero fill to the end of FIELD. For texts a
// record may show shortened.
template <std::size_t N>
void WriteFixedFieldCut(char (&field)[N], std::string_view text) {
    static_assert(N > 0);
    std::string_view kept = text.substr(0, std::min(text.size(), N - 1));
    kept = kept.substr(0, kept.find('\0'));
    if (!kept.empty()) {
        std::memcpy(field, kept.data(), kept.size());
    }
    std::memset(field + kept.size(), 0, N - kept.size());
}
