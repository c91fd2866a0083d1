#include "samplelist/RecordFields.h"

#include "datasystem/FixedField.h"

RecordRow ReadRecordRow(const SAMPLE_RECORD& record) {
    const auto* bytes = reinterpret_cast<const char*>(&record);
    RecordRow row;
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        row[i] = FixedFieldText(bytes + kRecordFields[i].offset, kRecordFields[i].span);
    }
    return row;
}
