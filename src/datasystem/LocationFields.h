// Small helpers around the data system's settings library: the text fields
// of its location record (GLOBAL_FILE_INFO) and its error sentence.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "datasystem/ostrel.h"

// The section of the data system's global file locations; "SAMPLES_DB" in it
// is the location of Sample Lists.
inline constexpr const char* kLocationSection = "SystemList";
inline constexpr const char* kSampleListKey = "SAMPLES_DB";
// The keys of the method files whose names every record carries.
inline constexpr const char* kMSMethodKey = "MS_FUNC_DB";
inline constexpr const char* kInletMethodKey = "LC_DB";
inline constexpr const char* kMacroKey = "MACRO";

// The settings library's sentence about its last failure, or FALLBACK when
// it has none.
inline std::string SettingsLibraryError(const char* fallback) {
    const char* error = OstrelLastError();
    return *error != '\0' ? std::string(error) : std::string(fallback);
}

// The text of FIELD up to its first zero, never past its end.
template <std::size_t N>
std::string_view LocationFieldText(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

// Writes TEXT and zero fill into FIELD; false (FIELD untouched) when TEXT
// and its terminating zero do not fit.
template <std::size_t N>
bool SetLocationField(char (&field)[N], const std::string& text) {
    if (text.size() >= N) {
        return false;
    }
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size());
    return true;
}
