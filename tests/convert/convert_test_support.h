// Shared by the converter's tests: lines of an export, and the fields of a
// stored record.
#pragma once

#include <cstring>
#include <string>

#include "samplelist/SampleRecord.h"

namespace k2ltest {

// One sample line of an export: eight tab-separated columns.
inline std::string SampleLine(const std::string& key, const std::string& column3,
                              const std::string& column4, const std::string& column5,
                              const std::string& fractions) {
    return key + "\tS" + key + "\t" + column3 + "\t" + column4 + "\t" + column5 + "\t" + fractions +
           "\tc7\tc8\n";
}

// The text at OFFSET of RECORD, up to its zero byte or the end of the record.
inline std::string TextAt(const void* record, std::size_t offset) {
    const char* text = static_cast<const char*>(record) + offset;
    return std::string(text, strnlen(text, sizeof(SAMPLE_RECORD) - offset));
}

}  // namespace k2ltest
