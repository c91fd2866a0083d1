#include "source/SourceListFile.h"

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/FileException.h"
#include "framework/StdioFile.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ScratchDir;

// A sample line of the export: eight columns, with COLUMN5 and COLUMN6.
std::string SampleLine(const std::string& key, const std::string& column5,
                       const std::string& column6) {
    return key + "\tS" + key + "\t1.5\t2\t" + column5 + "\t" + column6 + "\tx\ty\n";
}

std::vector<SOURCE_ENTRY> ReadEntries(CSourceListFile& reader) {
    std::vector<SOURCE_ENTRY> entries;
    SOURCE_ENTRY entry;
    while (reader.ReadEntry(entry)) {
        entries.push_back(entry);
    }
    return entries;
}

std::vector<SOURCE_ENTRY> ReadEntries(const std::string& path) {
    CSourceListFile reader(path);
    EXPECT_TRUE(reader.IsOpen());
    return ReadEntries(reader);
}

// Compares every column of ACTUAL with EXPECTED.
void ExpectEntry(const SOURCE_ENTRY& actual, const SOURCE_ENTRY& expected) {
    EXPECT_EQ(actual.fKey, expected.fKey);
    EXPECT_EQ(actual.strColumn2, expected.strColumn2);
    EXPECT_EQ(actual.fColumn3, expected.fColumn3);
    EXPECT_EQ(actual.fColumn4, expected.fColumn4);
    EXPECT_EQ(actual.strColumn5Text, expected.strColumn5Text);
    EXPECT_EQ(actual.fColumn5Value, expected.fColumn5Value);
    EXPECT_EQ(actual.nFirstFraction, expected.nFirstFraction);
    EXPECT_EQ(actual.nLastFraction, expected.nLastFraction);
    EXPECT_EQ(actual.strColumn7, expected.strColumn7);
    EXPECT_EQ(actual.strColumn8, expected.strColumn8);
}

// The one entry of a file holding a single sample line.
SOURCE_ENTRY OnlyEntry(const ScratchDir& dir, const std::string& text) {
    const std::vector<SOURCE_ENTRY> entries = ReadEntries(dir.Write("one.txt", text));
    EXPECT_EQ(entries.size(), 1u) << text;
    return entries.empty() ? SOURCE_ENTRY{} : entries[0];
}

}  // namespace

TEST(SourceListFileOpen, MissingFileIsNotOpenAndHasNoEntries) {
    ScratchDir dir;
    CSourceListFile reader(dir.Path() + "/missing.txt");
    EXPECT_FALSE(reader.IsOpen());
    SOURCE_ENTRY entry;
    EXPECT_FALSE(reader.ReadEntry(entry));
    EXPECT_EQ(reader.GetLineNumber(), 0);
}

TEST(SourceListFileRead, ExportWithHeaderBlankLinesAndEmptyColumn) {
    // CR-LF lines: a header, two sample lines (the second with an empty
    // third column), a line with key 0, a blank line, a last sample line.
    CSourceListFile reader(K2L_TEST_DATA_DIR "/source/korrin_export.txt");
    ASSERT_TRUE(reader.IsOpen());
    SOURCE_ENTRY entry;

    ASSERT_TRUE(reader.ReadEntry(entry));
    EXPECT_EQ(reader.GetLineNumber(), 2);
    ExpectEntry(entry, {.fKey = 1,
                        .strColumn2 = "S1",
                        .fColumn3 = 1.5f,
                        .fColumn4 = 2,
                        .strColumn5Text = "A1",
                        .nFirstFraction = 3,
                        .nLastFraction = 7,
                        .strColumn7 = "anna",
                        .strColumn8 = "first",
                        .fColumn5Value = 2.5f});

    // The empty column vanishes: every later column moves one place left.
    // "MIX M10" has no numeric prefix, "anna" no colon, and the line only
    // seven fields.
    ASSERT_TRUE(reader.ReadEntry(entry));
    EXPECT_EQ(reader.GetLineNumber(), 3);
    ExpectEntry(entry, {.fKey = 2,
                        .strColumn2 = "S2",
                        .fColumn3 = 4,
                        .strColumn5Text = "2:9:5",
                        .strColumn7 = "note",
                        .strColumn8 = ""});

    // No carriage return in the last field.
    ASSERT_TRUE(reader.ReadEntry(entry));
    EXPECT_EQ(reader.GetLineNumber(), 6);
    ExpectEntry(entry, {.fKey = 3.25f,
                        .strColumn2 = "S3",
                        .fColumn3 = 0.5f,
                        .fColumn4 = 100,
                        .strColumn5Text = "B2",
                        .strColumn7 = "bob",
                        .strColumn8 = "last"});

    EXPECT_FALSE(reader.ReadEntry(entry));
    EXPECT_EQ(reader.GetSampleLineCount(), 3);
    EXPECT_EQ(reader.GetSkippedLineCount(), 3);
}

TEST(SourceListFileColumns, Column5TextAndValueAfterLastM) {
    struct Case {
        std::string column5;
        std::string text;
        float value;
    };
    const std::vector<Case> cases = {
        {"A1M2.5", "A1", 2.5f}, {"MIX M10", "MIX ", 10.0f}, {"A1", "A1", 0.0f},
        {"A1m5", "A1m5", 0.0f}, {"AMBM3", "AMB", 3.0f},     {"M", "", 0.0f},
        {"XM", "X", 0.0f},      {"XM 1e1", "X", 10.0f},     {"XMabc", "X", 0.0f},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        const SOURCE_ENTRY entry = OnlyEntry(dir, SampleLine("1", c.column5, "1:2"));
        EXPECT_EQ(entry.strColumn5Text, c.text) << c.column5;
        EXPECT_EQ(entry.fColumn5Value, c.value) << c.column5;
    }
}

TEST(SourceListFileColumns, Column6FractionRange) {
    struct Case {
        std::string column6;
        std::int32_t first;
        std::int32_t last;
    };
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::vector<Case> cases = {
        {"R1:3:7", 3, 7},
        {"3:7", 7, 7},
        {"2:9:5", 9, 9},
        {"12", 0, 0},
        {":", 0, 0},
        {"R: 4x:+6", 4, 6},
        {"1:-5", -5, -5},
        {"R1:99999999999", kMax, kMax},
        {"R1:-99999999999:3", kMin, 3},
        {"R1:2147483647:2147483648", kMax, kMax},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        const SOURCE_ENTRY entry = OnlyEntry(dir, SampleLine("1", "A1M1", c.column6));
        EXPECT_EQ(entry.nFirstFraction, c.first) << c.column6;
        EXPECT_EQ(entry.nLastFraction, c.last) << c.column6;
    }
}

TEST(SourceListFileRead, OnlyLinesWithANonZeroFirstColumnAreSamples) {
    ScratchDir dir;
    const std::string text =
        "Pos\tName\tVolume\n"
        "0\tS0\t1\t2\tA1M1\t1:1\tx\ty\n"
        "0.0\tS0\n"
        "-0\tS0\n"
        "\n"
        "\t\t\n"
        "Info\tS\n"
        "inf\tS\n"
        "NaN\tS\n"
        "0x1A\tS\n"
        " \tS\n" +
        SampleLine("1e-50", "A1M1", "1:1") + SampleLine("-2", "A1M1", "1:1") + "\n";
    CSourceListFile reader(dir.Write("skip.txt", text));
    const std::vector<SOURCE_ENTRY> entries = ReadEntries(reader);
    ASSERT_EQ(entries.size(), 2u);
    // 1e-50 is not 0 as a double, though it is 0 as a float.
    EXPECT_EQ(entries[0].fKey, 0.0f);
    EXPECT_EQ(entries[0].strColumn2, "S1e-50");
    EXPECT_EQ(entries[1].fKey, -2.0f);
    EXPECT_EQ(reader.GetSampleLineCount(), 2);
    EXPECT_EQ(reader.GetSkippedLineCount(), 12);
    EXPECT_EQ(reader.GetLineNumber(), 13);
}

TEST(SourceListFileRead, ShortLinesReadMissingColumnsAsEmpty) {
    ScratchDir dir;
    CSourceListFile reader(
        dir.Write("short.txt", SampleLine("1", "A1M2.5", "R1:3:7") + "5\n7\tS7\t3\n"));
    SOURCE_ENTRY entry;
    ASSERT_TRUE(reader.ReadEntry(entry));
    // The same entry object takes the short lines: nothing of the full line
    // may remain in it.
    SOURCE_ENTRY expected;  // every column empty or zero
    expected.fKey = 5;
    ASSERT_TRUE(reader.ReadEntry(entry));
    ExpectEntry(entry, expected);
    expected.fKey = 7;
    expected.strColumn2 = "S7";
    expected.fColumn3 = 3;
    ASSERT_TRUE(reader.ReadEntry(entry));
    ExpectEntry(entry, expected);
    EXPECT_FALSE(reader.ReadEntry(entry));
}

TEST(SourceListFileRead, BytesThatAreNotTextAreCarriedUnchanged) {
    ScratchDir dir;
    const std::string nulKey("3\0x", 3);
    const std::string name = std::string("Pr\xfc\0be", 6);
    const SOURCE_ENTRY entry =
        OnlyEntry(dir, nulKey + "\t" + name + "\t1\t2\t\xe9M4\t1:2\t\x80\t\xff\n");
    EXPECT_EQ(entry.fKey, 3.0f) << "the number stops at the NUL byte";
    EXPECT_EQ(entry.strColumn2, name);
    EXPECT_EQ(entry.strColumn5Text, "\xe9");
    EXPECT_EQ(entry.fColumn5Value, 4.0f);
    EXPECT_EQ(entry.strColumn7, "\x80");
    EXPECT_EQ(entry.strColumn8, "\xff");
}

TEST(SourceListFileRead, NumbersUseADecimalPointWhateverTheLocale) {
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                "de_DE",       "fr_FR",      "nl_NL.UTF-8", "ru_RU.UTF-8"};
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* used = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            used = name;
            break;
        }
    }
    if (used == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    ScratchDir dir;
    const SOURCE_ENTRY entry = OnlyEntry(dir, "1.5\tS\t2.25\t0,5\tA1M2.5\t1:2\tx\ty\n");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(entry.fKey, 1.5f) << used;
    EXPECT_EQ(entry.fColumn3, 2.25f);
    EXPECT_EQ(entry.fColumn4, 0.0f) << "a comma is not a decimal point";
    EXPECT_EQ(entry.fColumn5Value, 2.5f);
}

TEST(SourceListFileRead, LinesAreLimitedTo16MiB) {
    // The real bound, not a lowered one: a line of exactly 16 MiB is read
    // (and skipped), one byte more raises.
    ScratchDir dir;
    const std::size_t limit = CStdioFile::kMaxLineLength;
    ASSERT_EQ(limit, 16u * 1024 * 1024);
    const std::string text = SampleLine("1", "A1M1", "1:1") + std::string(limit, 'H') + "\r\n" +
                             SampleLine("2", "A1M1", "1:1") + std::string(limit + 1, 'H') + "\n" +
                             SampleLine("3", "A1M1", "1:1");
    const std::string path = dir.Write("huge.txt", text);
    CSourceListFile reader(path);
    SOURCE_ENTRY entry;
    ASSERT_TRUE(reader.ReadEntry(entry));
    ASSERT_TRUE(reader.ReadEntry(entry));
    EXPECT_EQ(entry.fKey, 2.0f);
    EXPECT_EQ(reader.GetLineNumber(), 3);
    try {
        reader.ReadEntry(entry);
        FAIL() << "a line of 16 MiB + 1 byte must raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::lineTooLong);
        EXPECT_EQ(e.m_strFileName, path);
        EXPECT_EQ(e.m_nLine, 4);
        EXPECT_EQ(std::string(e.what()), path + ": line 4: line longer than 16 MiB");
    }
}
