// CSampListRecord holds one SAMPLE_RECORD and clears it between sample
// entries. The converter writes the record's fields directly and the sample
// list file hands the buffer to the record library unchanged.
#pragma once

#include "framework/Types.h"
#include "samplelist/SampleRecord.h"

class CSampListRecord {
public:
    // The buffer is undefined until the first Reset.
    CSampListRecord() = default;
    virtual ~CSampListRecord() = default;

    // Sets all 4262 bytes to zero. With PRESET TRUE, then writes "[]" and
    // its terminating zero at the start of each of the data system's 40 text
    // fields: the 14 single fields from offset 0 to 1904, the 20 value slots
    // from 1955 and the 6 short slots from 2555. Bytes from 2651 on stay
    // zero either way.
    void Reset(BOOL preset);

    SAMPLE_RECORD m_record;
};
