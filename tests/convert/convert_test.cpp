// Whole conversions through the real record and settings libraries: every
// record is read back from the SQLite Sample List and compared byte for
// byte with the record the data system expects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "convert/SLConvert.h"
#include "convert/convert_test_support.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"
#include "framework/FileException.h"
#include "samplelist/SampListRecord.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::SampleLine;
using k2ltest::TextAt;
using ::testing::HasSubstr;

// The record expected for one fraction. PRESET is how the record was reset
// for its sample line; PLAIN whether it is the list's first record.
struct Expected {
    bool preset = false;
    bool plain = false;
    std::string name;
    std::string fraction;
    std::string number;
    std::string value;
    std::string column5;
    std::string ms, inlet, macro;
};

std::vector<unsigned char> Build(const Expected& e) {
    CSampListRecord record;
    record.Reset(e.preset ? TRUE : FALSE);
    SAMPLE_RECORD& r = record.m_record;
    auto put = [](char* field, const std::string& text) {
        std::memcpy(field, text.c_str(), text.size() + 1);
    };
    auto style = [&](const std::string& text) { return e.plain ? text : "[" + text + "]"; };
    put(r.szDataFile, style(e.name));
    std::memset(r.szFraction, 0, 119);
    std::memcpy(r.szFraction, e.fraction.data(), std::min<std::size_t>(e.fraction.size(), 119));
    put(r.szValue[0], e.value);
    put(r.szRecordNumber, style(e.number));
    std::memset(r.szColumn5Text, 0, 50);
    std::memcpy(r.szColumn5Text, e.column5.data(), std::min<std::size_t>(e.column5.size(), 50));
    put(r.szMSMethod, style(e.ms));
    put(r.szInletMethod, style(e.inlet));
    put(r.szMacro, style(e.macro));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    return std::vector<unsigned char>(bytes, bytes + sizeof(r));
}

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The data system's settings live in the temporary directory.
        ASSERT_EQ(::setenv("LUMENDA_HOME", m_dir.Path("lumenda").c_str(), 1), 0);
    }

    std::string Output() const { return m_dir.Path("run12.sdb"); }

    // The records of the list NAME at the current sample-list location.
    static std::vector<std::vector<unsigned char>> ReadList(const std::string& name) {
        std::vector<std::vector<unsigned char>> records;
        const std::int32_t status = DB3Open(DB3_SAMPLE_LIST, name.c_str(), DB3_MODE_OPEN);
        EXPECT_EQ(status, DB3_OK) << DB3StatusText(status);
        if (status != DB3_OK) {
            return records;
        }
        const std::int32_t count = DB3GetRecordsInDB(DB3_SAMPLE_LIST);
        for (std::int32_t i = 1; i <= count; ++i) {
            std::vector<unsigned char> record(DB3_SAMPLE_RECORD_SIZE, 0xEE);
            EXPECT_EQ(DB3HandleRecord(DB3_SAMPLE_LIST, i, record.data(), DB3_OP_READ, 0), DB3_OK);
            records.push_back(record);
        }
        EXPECT_EQ(DB3Close(DB3_SAMPLE_LIST), DB3_OK);
        return records;
    }

    static void ExpectRecord(const std::vector<unsigned char>& actual, const Expected& e) {
        const std::vector<unsigned char> expected = Build(e);
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(actual[i], expected[i]) << "record " << e.number << ", offset " << i;
        }
    }

    static void SetNames(CSLConvert& convert) {
        convert.m_strMSFile = "MSMETH1";
        convert.m_strInletFile = "LC30";
        convert.m_strMacro = "ACQ";
        convert.m_strDataFile = "RUN12345";
    }

    k2ltest::ScratchDir m_dir;
};

TEST_F(ConvertTest, EveryFractionBecomesOneRecordNumberedOverTheRun) {
    const std::string input =
        m_dir.Write("plate.txt", "Pos\tName\tA\tB\tMix\tFractions\tC7\tC8\n" +
                                     SampleLine("1", "1.5", "2", "A1M2.5", "R1:3:4") +
                                     SampleLine("2", "0.25", "10", "MIX M10", "R2:1:1"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    EXPECT_EQ(convert.GetFailureReason(), "");
    EXPECT_EQ(convert.GetReport().records, 3);
    EXPECT_EQ(convert.GetReport().sampleLines, 2);
    EXPECT_EQ(convert.GetReport().skippedLines, 1);

    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 3u);
    Expected common;
    common.ms = "MSMETH1";
    common.inlet = "LC30";
    common.macro = "ACQ";
    Expected first = common;
    first.plain = true;
    first.name = "RUN12001";
    first.fraction = "Fraction:3, 1.50, 2.00";
    first.number = "1";
    first.value = "2.500";
    first.column5 = "A1";
    ExpectRecord(records[0], first);

    // Same sample line: bracketed, but reset without preset.
    Expected second = first;
    second.plain = false;
    second.name = "RUN12002";
    second.fraction = "Fraction:4, 1.50, 2.00";
    second.number = "2";
    ExpectRecord(records[1], second);
    EXPECT_EQ(TextAt(records[1].data(), 0), "[RUN12002]");
    EXPECT_EQ(TextAt(records[1].data(), 900), "");

    // Next sample line: untouched fields hold "[]".
    Expected third = common;
    third.preset = true;
    third.name = "RUN12003";
    third.fraction = "Fraction:1, 0.25, 10.00";
    third.number = "3";
    third.value = "10.000";
    third.column5 = "MIX ";
    ExpectRecord(records[2], third);
    EXPECT_EQ(TextAt(records[2].data(), 900), "[]");
    EXPECT_EQ(TextAt(records[2].data(), 2525), "[]");
    EXPECT_EQ(TextAt(records[2].data(), 1433), "[3]");
}

TEST_F(ConvertTest, TheSampleListLocationIsTheOutputsDirectory) {
    const std::string input = m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "R:1:1"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof(info));
    _MSGGetGlobalFile("SystemList", "SAMPLES_DB", 0, &info);
    EXPECT_EQ(std::string(info.szDirectory), m_dir.Path() + "/");
    EXPECT_STREQ(info.szName, "run12");
    EXPECT_STREQ(info.szExtension, "sdb");
    EXPECT_EQ(ReadList("run12").size(), 1u);
}

TEST_F(ConvertTest, FractionColumnWithoutColonGivesOneRecordForFractionZero) {
    const std::string input = m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "12"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(TextAt(records[0].data(), 260), "Fraction:0, 1.00, 2.00");
}

TEST_F(ConvertTest, EmptyDataFileNameGivesBareNumbers) {
    const std::string input = m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "R:1:2"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    convert.m_strDataFile = "";
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(TextAt(records[0].data(), 0), "001");
    EXPECT_EQ(TextAt(records[1].data(), 0), "[002]");
}

TEST_F(ConvertTest, TheThousandthRecordHasFourDigits) {
    const std::string input =
        m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "R:1:999") +
                                     SampleLine("2", "1", "2", "AM1", "R:5:5"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 1000u);
    EXPECT_EQ(TextAt(records[8].data(), 0), "[RUN12009]");
    EXPECT_EQ(TextAt(records[998].data(), 0), "[RUN12999]");
    EXPECT_EQ(TextAt(records[999].data(), 0), "[RUN121000]");
    EXPECT_EQ(TextAt(records[999].data(), 1433), "[1000]");
    EXPECT_EQ(TextAt(records[999].data(), 260), "Fraction:5, 1.00, 2.00");
}

TEST_F(ConvertTest, MethodNamesArePlainOnlyInTheFirstRecord) {
    const std::string input =
        m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "R:1:2") +
                                     SampleLine("2", "1", "2", "AM1", "R:1:1"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    convert.m_strInletFile = "";
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(TextAt(records[0].data(), 380), "MSMETH1");
    EXPECT_EQ(TextAt(records[0].data(), 640), "");
    EXPECT_EQ(TextAt(records[0].data(), 1160), "ACQ");
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_EQ(TextAt(records[i].data(), 380), "[MSMETH1]");
        EXPECT_EQ(TextAt(records[i].data(), 640), "[]");
        EXPECT_EQ(TextAt(records[i].data(), 1160), "[ACQ]");
    }
}

TEST_F(ConvertTest, AFirstLineOfOneRecordStillPresetsTheNextLines) {
    const std::string input =
        m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "R:1:1") +
                                     SampleLine("2", "1", "2", "AM1", "R:1:1"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(TextAt(records[1].data(), 900), "[]");
}

TEST_F(ConvertTest, FractionValuesPassThroughSinglePrecision) {
    // 1.115 is just above 1.115 as a float (1.12) and just below it as a
    // double (1.11); 2.0005 is 2.000 as a float and 2.001 as a double.
    const std::string input =
        m_dir.Write("plate.txt", SampleLine("1", "1.5", "2", "AM1", "R:7:7") +
                                     SampleLine("2", "1.115", "-0.5", "AM2.0005", "R:8:8"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(TextAt(records[0].data(), 260), "Fraction:7, 1.50, 2.00");
    EXPECT_EQ(TextAt(records[1].data(), 260), "Fraction:8, 1.12, -0.50");
    EXPECT_EQ(TextAt(records[1].data(), 1955), "2.000");
}

TEST_F(ConvertTest, Column5TextIsCutToFiftyCharacters) {
    const std::string text(60, 't');
    const std::string input =
        m_dir.Write("plate.txt", SampleLine("1", "1", "2", text + "M3", "R:1:1"));
    CSLConvert convert(input, Output());
    SetNames(convert);
    ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    const auto records = ReadList("run12");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(TextAt(records[0].data(), 1904), std::string(50, 't'));
    EXPECT_EQ(records[0][1954], 0);
    EXPECT_EQ(TextAt(records[0].data(), 1955), "3.000");
}

TEST_F(ConvertTest, InputWithoutSampleLinesGivesAnEmptyList) {
    const std::string input = m_dir.Write("plate.txt", "Pos\tName\n0\tnothing\n\n");
    CSLConvert convert(input, Output());
    SetNames(convert);
    EXPECT_TRUE(convert.Convert()) << convert.GetFailureReason();
    EXPECT_EQ(ReadList("run12").size(), 0u);
}

TEST_F(ConvertTest, AnExistingListIsReplaced) {
    const std::string first = m_dir.Write("a.txt", SampleLine("1", "1", "2", "AM1", "R:1:5"));
    const std::string second = m_dir.Write("b.txt", SampleLine("1", "1", "2", "AM1", "R:1:2"));
    for (const std::string& input : {first, second}) {
        CSLConvert convert(input, Output());
        SetNames(convert);
        ASSERT_TRUE(convert.Convert()) << convert.GetFailureReason();
    }
    EXPECT_EQ(ReadList("run12").size(), 2u);
}

TEST_F(ConvertTest, InputThatCannotBeOpenedLeavesTheLocationAlone) {
    CSLConvert convert(m_dir.Path("missing.txt"), Output());
    SetNames(convert);
    EXPECT_FALSE(convert.Convert());
    EXPECT_EQ(convert.GetFailureReason(),
              m_dir.Path("missing.txt") + ": No such file or directory.");
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof(info));
    _MSGGetGlobalFile("SystemList", "SAMPLES_DB", 0, &info);
    EXPECT_STREQ(info.szDirectory, "");
}

TEST_F(ConvertTest, ReadErrorLeavesNoList) {
    const std::string input =
        m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "R:1:2") +
                                     std::string(17 * 1024 * 1024, 'x') + "\n");
    CSLConvert convert(input, Output());
    SetNames(convert);
    EXPECT_THROW(convert.Convert(), CFileException);
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

TEST_F(ConvertTest, UnusableLocationIsReportedWithTheOutputPath) {
    const std::string input = m_dir.Write("plate.txt", SampleLine("1", "1", "2", "AM1", "R:1:1"));
    const std::string output = m_dir.Path("no-such-dir/run12.sdb");
    CSLConvert convert(input, output);
    SetNames(convert);
    EXPECT_FALSE(convert.Convert());
    EXPECT_EQ(convert.GetFailureReason(),
              "The folder " + m_dir.Path("no-such-dir") + " does not exist (status 13).");
}

}  // namespace
