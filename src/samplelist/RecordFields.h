// The fields of a Sample List record that the converter writes (the record
// library's table, kRecordFields), read out of a record as text.
#pragma once

#include <array>
#include <string>

#include "datasystem/SampleRecordFields.h"
#include "samplelist/SampleRecord.h"

// The texts of one record's fields, in kRecordFields order.
using RecordRow = std::array<std::string, kRecordFieldCount>;

// Reads every field of RECORD as the text up to its first zero byte, or the
// whole span when the span holds no zero: never a byte past the span.
RecordRow ReadRecordRow(const SAMPLE_RECORD& record);
