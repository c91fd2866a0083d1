// Whole conversions through the real record and settings libraries: the
// records are read back from the SQLite Sample List and compared byte for
// byte with records written out here as the data system expects them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "convert/convert_test_support.h"
#include "datasystem/ostrel.h"

namespace {

using k2ltest::ListRead;
using k2ltest::ListRecord;
using k2ltest::NamedConversion;
using k2ltest::SampleLine;

// A record as the list must hold it: the texts at its fields, separated
// by '|' (data file at offset 0, fraction 260, MS method 380, inlet method
// 640, macro 1160, running number 1433, column-5 text 1904 and value 1955),
// zero everywhere else, or "[]" in every field the data system keeps for
// itself in the record of a sample line after the first (PRESET).
struct Expected {
    std::size_t number;  // counted from 1
    std::string texts;
    bool preset = false;
};
constexpr bool kPreset = true;

constexpr std::size_t kTextOffsets[] = {0, 260, 380, 640, 1160, 1433, 1904, 1955};
// The data system's own fields, value slots 1 to 19 and the six short fields.
constexpr std::size_t kPresetOffsets[] = {
    900,  1453, 1504, 1555, 1574, 1625, 1880, 1985, 2015, 2045, 2075, 2105, 2135, 2165, 2195, 2225,
    2255, 2285, 2315, 2345, 2375, 2405, 2435, 2465, 2495, 2525, 2555, 2571, 2587, 2603, 2619, 2635};

ListRecord Bytes(const Expected& e) {
    ListRecord record{};
    if (e.preset) {
        for (const std::size_t offset : kPresetOffsets) {
            std::memcpy(record.data() + offset, "[]", 2);
        }
    }
    std::size_t start = 0;
    for (const std::size_t offset : kTextOffsets) {
        const std::size_t end = std::min(e.texts.find('|', start), e.texts.size());
        std::memcpy(record.data() + offset, e.texts.data() + start, end - start);
        start = end + 1;
    }
    return record;
}

// One conversion: an export and the names; the list it must give.
struct ConvertCase {
    const char* name;
    std::string input;
    std::string inletMethod = "LC30";
    std::string dataFile = "RUN12345";
    std::int64_t sampleLines = 0;
    std::int64_t skippedLines = 0;
    std::size_t records = 0;
    std::vector<Expected> expected = {};
};

void PrintTo(const ConvertCase& c, std::ostream* out) {
    *out << c.name;
}

const ConvertCase kCases[] = {
    {.name = "EveryFractionBecomesOneRecordNumberedOverTheRun",
     .input = "Pos\tName\tA\tB\tMix\tFractions\tC7\tC8\n" +
              SampleLine("1", "1.5", "2", "A1M2.5", "R1:3:4") +
              SampleLine("2", "0.25", "10", "MIX M10", "R2:1:1"),
     .sampleLines = 2,
     .skippedLines = 1,
     .records = 3,
     .expected = {{1, "RUN12001|Fraction:3, 1.50, 2.00|MSMETH1|LC30|ACQ|1|A1|2.500"},
                  // Same sample line: bracketed, but without the presets.
                  {2, "[RUN12002]|Fraction:4, 1.50, 2.00|[MSMETH1]|[LC30]|[ACQ]|[2]|A1|2.500"},
                  {3, "[RUN12003]|Fraction:1, 0.25, 10.00|[MSMETH1]|[LC30]|[ACQ]|[3]|MIX |10.000",
                   kPreset}}},
    {.name = "FractionColumnWithoutColonGivesOneRecordForFractionZero",
     .input = SampleLine("1", "1", "2", "AM1", "12"),
     .sampleLines = 1,
     .records = 1,
     .expected = {{1, "RUN12001|Fraction:0, 1.00, 2.00|MSMETH1|LC30|ACQ|1|A|1.000"}}},
    {.name = "EmptyDataFileNameGivesBareNumbers",
     .input = SampleLine("1", "1", "2", "AM1", "R:1:2"),
     .dataFile = "",
     .sampleLines = 1,
     .records = 2,
     .expected = {{1, "001|Fraction:1, 1.00, 2.00|MSMETH1|LC30|ACQ|1|A|1.000"},
                  {2, "[002]|Fraction:2, 1.00, 2.00|[MSMETH1]|[LC30]|[ACQ]|[2]|A|1.000"}}},
    {.name = "TheThousandthRecordHasFourDigits",
     .input =
         SampleLine("1", "1", "2", "AM1", "R:1:999") + SampleLine("2", "1", "2", "AM1", "R:5:5"),
     .sampleLines = 2,
     .records = 1000,
     .expected = {{9, "[RUN12009]|Fraction:9, 1.00, 2.00|[MSMETH1]|[LC30]|[ACQ]|[9]|A|1.000"},
                  {999, "[RUN12999]|Fraction:999, 1.00, 2.00|[MSMETH1]|[LC30]|[ACQ]|[999]|A|1.000"},
                  {1000, "[RUN121000]|Fraction:5, 1.00, 2.00|[MSMETH1]|[LC30]|[ACQ]|[1000]|A|1.000",
                   kPreset}}},
    {.name = "MethodNamesArePlainOnlyInTheFirstRecord",
     .input = SampleLine("1", "1", "2", "AM1", "R:1:2") + SampleLine("2", "1", "2", "AM1", "R:1:1"),
     .inletMethod = "",
     .sampleLines = 2,
     .records = 3,
     .expected = {{1, "RUN12001|Fraction:1, 1.00, 2.00|MSMETH1||ACQ|1|A|1.000"},
                  {2, "[RUN12002]|Fraction:2, 1.00, 2.00|[MSMETH1]|[]|[ACQ]|[2]|A|1.000"},
                  {3, "[RUN12003]|Fraction:1, 1.00, 2.00|[MSMETH1]|[]|[ACQ]|[3]|A|1.000",
                   kPreset}}},
    {.name = "AFirstLineOfOneRecordStillPresetsTheNextLines",
     .input = SampleLine("1", "1", "2", "AM1", "R:1:1") + SampleLine("2", "1", "2", "AM1", "R:1:1"),
     .sampleLines = 2,
     .records = 2,
     .expected = {{1, "RUN12001|Fraction:1, 1.00, 2.00|MSMETH1|LC30|ACQ|1|A|1.000"},
                  {2, "[RUN12002]|Fraction:1, 1.00, 2.00|[MSMETH1]|[LC30]|[ACQ]|[2]|A|1.000",
                   kPreset}}},
    // 1.115 is just above 1.115 as a float (1.12) and just below it as a
    // double (1.11); 2.0005 is 2.000 as a float and 2.001 as a double.
    {.name = "FractionValuesPassThroughSinglePrecision",
     .input = SampleLine("1", "1.5", "2", "AM1", "R:7:7") +
              SampleLine("2", "1.115", "-0.5", "AM2.0005", "R:8:8"),
     .sampleLines = 2,
     .records = 2,
     .expected = {{1, "RUN12001|Fraction:7, 1.50, 2.00|MSMETH1|LC30|ACQ|1|A|1.000"},
                  {2, "[RUN12002]|Fraction:8, 1.12, -0.50|[MSMETH1]|[LC30]|[ACQ]|[2]|A|2.000",
                   kPreset}}},
    {.name = "Column5TextIsCutToFiftyCharacters",
     .input = SampleLine("1", "1", "2", std::string(60, 't') + "M3", "R:1:1"),
     .sampleLines = 1,
     .records = 1,
     .expected = {{1, "RUN12001|Fraction:1, 1.00, 2.00|MSMETH1|LC30|ACQ|1|" + std::string(50, 't') +
                          "|3.000"}}},
    {.name = "InputWithoutSampleLinesGivesAnEmptyList",
     .input = "Pos\tName\n0\tnothing\n\n",
     .skippedLines = 3},
};

class ConvertTest : public k2ltest::ConversionTest {};

class ConvertRecordsTest : public ConvertTest, public ::testing::WithParamInterface<ConvertCase> {};

TEST_P(ConvertRecordsTest, ListHoldsTheExpectedRecords) {
    const ConvertCase& c = GetParam();
    NamedConversion convert(Export(c.input), Output());
    convert.m_strInletFile = c.inletMethod;
    convert.m_strDataFile = c.dataFile;
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    EXPECT_EQ(convert.GetFailureReason(), "");
    EXPECT_EQ(convert.GetReport().records, static_cast<std::int64_t>(c.records));
    EXPECT_EQ(convert.GetReport().sampleLines, c.sampleLines);
    EXPECT_EQ(convert.GetReport().skippedLines, c.skippedLines);

    const ListRead list = k2ltest::ReadList(Output());
    ASSERT_EQ(list.status, DB3_OK) << DB3StatusText(list.status);
    ASSERT_EQ(list.records.size(), c.records);
    for (const Expected& expected : c.expected) {
        const ListRecord& actual = list.records.at(expected.number - 1);
        const ListRecord bytes = Bytes(expected);
        for (std::size_t offset = 0; offset < bytes.size(); ++offset) {
            ASSERT_EQ(actual[offset], bytes[offset])
                << "record " << expected.number << ", offset " << offset << ": \""
                << k2ltest::TextAt(actual.data(), offset) << "\", not \""
                << k2ltest::TextAt(bytes.data(), offset) << "\"";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Export, ConvertRecordsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ConvertCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(ConvertTest, TheSampleListLocationIsTheOutputsDirectory) {
    NamedConversion convert(Export(SampleLine("1", "1", "2", "AM1", "R:1:1")), Output());
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof(info));
    _MSGGetGlobalFile("SystemList", "SAMPLES_DB", 0, &info);
    EXPECT_EQ(std::string(info.szDirectory), k2ltest::NativePath(m_dir.Path("lists/")));
    EXPECT_STREQ(info.szName, "run12");
    EXPECT_STREQ(info.szExtension, "sdb");
    EXPECT_EQ(k2ltest::ReadList(Output()).records.size(), 1u);
}

TEST_F(ConvertTest, AnExistingListIsReplaced) {
    const std::string first = m_dir.Write("a.txt", SampleLine("1", "1", "2", "AM1", "R:1:5"));
    const std::string second = m_dir.Write("b.txt", SampleLine("1", "1", "2", "AM1", "R:1:2"));
    for (const std::string& input : {first, second}) {
        NamedConversion convert(input, Output());
        ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    }
    EXPECT_EQ(k2ltest::ReadList(Output()).records.size(), 2u);
}

}  // namespace
