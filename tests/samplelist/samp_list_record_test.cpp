#include "samplelist/SampListRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const unsigned char* Bytes(const CSampListRecord& record) {
    return reinterpret_cast<const unsigned char*>(&record.m_record);
}

// Offsets of the 40 text fields that a preset reset fills with "[]".
std::vector<std::size_t> PresetOffsets() {
    std::vector<std::size_t> offsets = {0,    260,  380,  640,  900,  1160, 1433,
                                        1453, 1504, 1555, 1574, 1625, 1880, 1904};
    for (std::size_t k = 0; k < 20; ++k) {
        offsets.push_back(1955 + 30 * k);
    }
    for (std::size_t k = 0; k < 6; ++k) {
        offsets.push_back(2555 + 16 * k);
    }
    return offsets;
}

TEST(SampListRecordTest, ResetWithoutPresetZeroesEveryByte) {
    CSampListRecord record;
    std::memset(&record.m_record, 0xA5, sizeof(record.m_record));
    record.Reset(FALSE);
    for (std::size_t i = 0; i < sizeof(SAMPLE_RECORD); ++i) {
        ASSERT_EQ(Bytes(record)[i], 0) << "offset " << i;
    }
}

TEST(SampListRecordTest, ResetWithPresetWritesBracketsAtEveryTextField) {
    CSampListRecord record;
    std::memset(&record.m_record, 0xA5, sizeof(record.m_record));
    record.Reset(TRUE);

    std::vector<unsigned char> expected(sizeof(SAMPLE_RECORD), 0);
    const std::vector<std::size_t> offsets = PresetOffsets();
    ASSERT_EQ(offsets.size(), 40u);
    for (std::size_t offset : offsets) {
        expected[offset] = '[';
        expected[offset + 1] = ']';
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(Bytes(record)[i], expected[i]) << "offset " << i;
    }

    // The positions the data system reads most.
    EXPECT_STREQ(record.m_record.szDataFile, "[]");
    EXPECT_EQ(Bytes(record)[3], 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(Bytes(record)) + 2525, "[]");
    EXPECT_STREQ(reinterpret_cast<const char*>(Bytes(record)) + 2635, "[]");
    for (std::size_t i = 2651; i < 4262; ++i) {
        ASSERT_EQ(Bytes(record)[i], 0) << "offset " << i;
    }
}

TEST(SampListRecordTest, SecondResetLeavesNoTraceOfWrittenFields) {
    CSampListRecord record;
    record.Reset(TRUE);
    std::memset(record.m_record.szDataFile, 'x', sizeof(record.m_record.szDataFile));
    std::strcpy(record.m_record.szFraction, "Fraction:3, 1.00, 2.00");
    std::strcpy(record.m_record.szValue[0], "12.500");
    std::memset(record.m_record.reserved, 0xFF, sizeof(record.m_record.reserved));

    CSampListRecord fresh;
    fresh.Reset(TRUE);
    record.Reset(TRUE);
    EXPECT_EQ(std::memcmp(&record.m_record, &fresh.m_record, sizeof(SAMPLE_RECORD)), 0);

    fresh.Reset(FALSE);
    record.Reset(FALSE);
    EXPECT_EQ(std::memcmp(&record.m_record, &fresh.m_record, sizeof(SAMPLE_RECORD)), 0);
}

}  // namespace
