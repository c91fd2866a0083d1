// The text fields of a Sample List record that Korr2LD writes: the columns
// of the record library's view "sample_list" (docs/sample-list-format.md)
// and what `show` and the preview print, in that order. The record's layout
// itself is SAMPLE_RECORD (samplelist/SampleRecord.h), which checks this
// table against its members; the table lives here because the record
// library builds its view from it and must not depend on the core.
#pragma once

#include <array>
#include <cstddef>

struct RecordField {
    const char* key;     // the view's column; JSON key, tsv/csv header
    const char* title;   // column title of a table
    std::size_t offset;  // byte position in the record
    std::size_t span;    // bytes from offset that belong to the field
};

inline constexpr std::size_t kRecordFieldCount = 8;

inline constexpr std::array<RecordField, kRecordFieldCount> kRecordFields = {{
    {"data_file", "Data File", 0, 260},
    {"fraction", "Fraction", 260, 120},
    {"ms_method", "MS Method", 380, 260},
    {"inlet_method", "Inlet Method", 640, 260},
    {"macro", "Macro", 1160, 273},
    {"running_number", "Number", 1433, 20},
    {"column5_text", "Column 5 Text", 1904, 51},
    {"column5_value", "Column 5 Value", 1955, 30},
}};
