// The fields of a Sample List record that the converter writes, in the
// order `show` prints them, and how to read one out of a record buffer.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "samplelist/SampleRecord.h"

struct RecordField {
    const char* key;     // machine name: JSON key, tsv/csv header
    const char* title;   // column title of the table
    std::size_t offset;  // byte position in SAMPLE_RECORD
    std::size_t span;    // bytes from offset that belong to the field
};

inline constexpr std::size_t kRecordFieldCount = 8;

extern const std::array<RecordField, kRecordFieldCount> kRecordFields;

// The texts of one record's fields, in kRecordFields order.
using RecordRow = std::array<std::string, kRecordFieldCount>;

// Reads every field of RECORD as the text up to its first zero byte, or the
// whole span when the span holds no zero: never a byte past the span.
RecordRow ReadRecordRow(const SAMPLE_RECORD& record);
