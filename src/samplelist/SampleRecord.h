// SAMPLE_RECORD: one row of a Sample List, exactly as the record library
// stores and returns it. The layout is a wire format shared with the data
// system: 4262 bytes of zero-terminated 8-bit text fields at fixed offsets,
// with no header, length or version of its own. Every field's span runs to
// the next field's start; a text and its terminating zero must fit in it.
//
// The fields named after their content are the ones the converter fills;
// the others belong to the data system and are only zeroed or preset to
// "[]" (see CSampListRecord::Reset). Bytes from offset 2651 on are always
// zero.
#pragma once

#include <cstddef>
#include <cstdint>

#include "datasystem/SampleRecordFields.h"
#include "datasystem/ferrox.h"

struct SAMPLE_RECORD {
    char szDataFile[260];         //    0: data file name
    char szFraction[120];         //  260: fraction text
    char szMSMethod[260];         //  380: MS method file name
    char szInletMethod[260];      //  640: inlet method file name
    char szText900[260];          //  900: data system's, preset only
    char szMacro[273];            // 1160: macro name
    char szRecordNumber[20];      // 1433: running record number
    char szText1453[51];          // 1453: data system's, preset only
    char szText1504[51];          // 1504: data system's, preset only
    char szText1555[19];          // 1555: data system's, preset only
    char szText1574[51];          // 1574: data system's, preset only
    char szText1625[255];         // 1625: data system's, preset only
    char szText1880[24];          // 1880: data system's, preset only
    char szColumn5Text[51];       // 1904: column-5 text of the sample line
    char szValue[20][30];         // 1955: slot 0 holds the column-5 value; 1..19 preset only
    char szShort[6][16];          // 2555: data system's, preset only
    std::uint8_t reserved[1611];  // 2651: always zero
};

static_assert(sizeof(SAMPLE_RECORD) == 4262);
static_assert(sizeof(SAMPLE_RECORD) == DB3_SAMPLE_RECORD_SIZE);
static_assert(alignof(SAMPLE_RECORD) == 1);
static_assert(offsetof(SAMPLE_RECORD, szText900) == 900);
static_assert(offsetof(SAMPLE_RECORD, szText1453) == 1453);
static_assert(offsetof(SAMPLE_RECORD, szText1504) == 1504);
static_assert(offsetof(SAMPLE_RECORD, szText1555) == 1555);
static_assert(offsetof(SAMPLE_RECORD, szText1574) == 1574);
static_assert(offsetof(SAMPLE_RECORD, szText1625) == 1625);
static_assert(offsetof(SAMPLE_RECORD, szText1880) == 1880);
static_assert(offsetof(SAMPLE_RECORD, szValue) == 1955);
static_assert(sizeof(SAMPLE_RECORD::szValue[0]) == 30);
static_assert(offsetof(SAMPLE_RECORD, szShort) == 2555);
static_assert(sizeof(SAMPLE_RECORD::szShort[0]) == 16);
static_assert(offsetof(SAMPLE_RECORD, reserved) == 2651);

// The fields Korr2LD writes are where the record library's table of them
// says, in its order.
constexpr bool IsRecordField(std::size_t index, std::size_t offset, std::size_t span) {
    return kRecordFields[index].offset == offset && kRecordFields[index].span == span;
}
static_assert(IsRecordField(0, offsetof(SAMPLE_RECORD, szDataFile),
                            sizeof(SAMPLE_RECORD::szDataFile)));
static_assert(IsRecordField(1, offsetof(SAMPLE_RECORD, szFraction),
                            sizeof(SAMPLE_RECORD::szFraction)));
static_assert(IsRecordField(2, offsetof(SAMPLE_RECORD, szMSMethod),
                            sizeof(SAMPLE_RECORD::szMSMethod)));
static_assert(IsRecordField(3, offsetof(SAMPLE_RECORD, szInletMethod),
                            sizeof(SAMPLE_RECORD::szInletMethod)));
static_assert(IsRecordField(4, offsetof(SAMPLE_RECORD, szMacro), sizeof(SAMPLE_RECORD::szMacro)));
static_assert(IsRecordField(5, offsetof(SAMPLE_RECORD, szRecordNumber),
                            sizeof(SAMPLE_RECORD::szRecordNumber)));
static_assert(IsRecordField(6, offsetof(SAMPLE_RECORD, szColumn5Text),
                            sizeof(SAMPLE_RECORD::szColumn5Text)));
static_assert(IsRecordField(7, offsetof(SAMPLE_RECORD, szValue),
                            sizeof(SAMPLE_RECORD::szValue[0])));
