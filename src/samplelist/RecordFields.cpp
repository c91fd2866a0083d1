#include "samplelist/RecordFields.h"

#include <cstring>

#define K2L_FIELD(key, title, member)                                              \
    RecordField {                                                                  \
        key, title, offsetof(SAMPLE_RECORD, member), sizeof(SAMPLE_RECORD::member) \
    }

const std::array<RecordField, kRecordFieldCount> kRecordFields = {
    K2L_FIELD("data_file", "Data File", szDataFile),
    K2L_FIELD("fraction", "Fraction", szFraction),
    K2L_FIELD("ms_method", "MS Method", szMSMethod),
    K2L_FIELD("inlet_method", "Inlet Method", szInletMethod),
    K2L_FIELD("macro", "Macro", szMacro),
    K2L_FIELD("running_number", "Number", szRecordNumber),
    K2L_FIELD("column5_text", "Column 5 Text", szColumn5Text),
    K2L_FIELD("column5_value", "Column 5 Value", szValue[0]),
};

#undef K2L_FIELD

RecordRow ReadRecordRow(const SAMPLE_RECORD& record) {
    const auto* bytes = reinterpret_cast<const char*>(&record);
    RecordRow row;
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        const char* start = bytes + kRecordFields[i].offset;
        row[i].assign(start, strnlen(start, kRecordFields[i].span));
    }
    return row;
}
