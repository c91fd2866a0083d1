// The names by which callers reach the data system's settings library
// (ostrel.h), and its error sentence. The text fields of its location record
// are read and written with FixedField.h.
#pragma once

#include <string>

#include "datasystem/DataSystemEntries.h"
#include "datasystem/ostrel.h"

// The section of the data system's global file locations; "SAMPLES_DB" in it
// is the location of Sample Lists.
inline constexpr const char* kLocationSection = "SystemList";
inline constexpr const char* kSampleListKey = "SAMPLES_DB";
// The keys of the method files whose names every record carries.
inline constexpr const char* kMSMethodKey = "MS_FUNC_DB";
inline constexpr const char* kInletMethodKey = "LC_DB";
inline constexpr const char* kMacroKey = "MACRO";
// Every key Korr2LD reads or writes, in the order it names them to users.
inline constexpr const char* kKorr2ldLocationKeys[] = {kSampleListKey, kMSMethodKey,
                                                       kInletMethodKey, kMacroKey};

// The settings library's sentence about its last failure (OstrelLastError
// of ENTRIES), or FALLBACK when it has none.
inline std::string SettingsLibraryError(const DataSystemEntries& entries, const char* fallback) {
    const char* error = entries.OstrelLastError != nullptr ? entries.OstrelLastError() : "";
    return *error != '\0' ? std::string(error) : std::string(fallback);
}
