// The reader's report: each doubtful input gives its warning where it is,
// and the entries read are the same with a report or without one.
#include "source/SourceLineCheck.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "source/SourceListFile.h"
#include "support/scratch_dir.h"
#include "util/ConversionReport.h"

namespace {

using k2ltest::ScratchDir;

struct Expected {
    std::int64_t line;
    std::int64_t column;
    ReportKind kind;
    const char* readAs;  // nullptr: not checked
};

struct Case {
    const char* name;
    std::string text;
    std::vector<Expected> warnings;
};

const char* const kGood = "1\tS1\t1.5\t2\tA1M2.5\tR1:3:5\tr\tc\n";

// Reads TEXT to its end with a report; the report and the entries.
ConversionReport Read(const ScratchDir& dir, const std::string& text,
                      std::vector<SOURCE_ENTRY>* entries = nullptr) {
    const std::string path = dir.Write("in.txt", text);
    ConversionReport report;
    CSourceListFile reader(path);
    reader.SetReport(&report);
    SOURCE_ENTRY entry;
    while (reader.ReadEntry(entry)) {
        if (entries != nullptr) {
            entries->push_back(entry);
        }
    }
    EXPECT_FALSE(reader.ReadEntry(entry));  // the end is reported once
    return report;
}

TEST(SourceLineCheck, EachDoubtfulInputIsWarnedOfWhereItIs) {
    const std::vector<Case> cases = {
        {"clean", std::string("Pos\tSample\n") + kGood, {}},
        {"decimal comma col 3",
         "1\tS\t1,5\t2\tAM1\tR:1:2\tr\tc\n",
         {{1, 5, ReportKind::kDecimalComma, "1"}}},
        {"decimal comma col 1",
         "2,5\tS\t1\t2\tAM1\tR:1:2\tr\tc\n",
         {{1, 1, ReportKind::kDecimalComma, "2"}}},
        {"decimal comma value",
         "1\tS\t1\t2\tA1M2,5\tR:1:2\tr\tc\n",
         {{1, 12, ReportKind::kDecimalComma, "2"}}},
        {"comma of a zero key",
         "0,5\tS\t1\t2\tAM1\tR:1:2\tr\tc\n" + std::string(kGood),
         {{1, 1, ReportKind::kDecimalComma, "0"}}},
        {"nan", "1\tS\tnan\t2\tAM1\tR:1:2\tr\tc\n", {{1, 5, ReportKind::kNumberWord, "0"}}},
        {"-Infinity",
         "1\tS\t1\t-Infinity\tAM1\tR:1:2\tr\tc\n",
         {{1, 7, ReportKind::kNumberWord, "0"}}},
        {"beyond float",
         "1\tS\t1e39\t2\tAM1\tR:1:2\tr\tc\n",
         {{1, 5, ReportKind::kBeyondFloatRange, "inf"}}},
        {"within float", "1\tS\t3.4e38\t2\tAM1\tR:1:2\tr\tc\n", {}},
        {"no colon",
         "1\tS\t1\t2\tAM1\tR12\tr\tc\n",
         {{1, 13, ReportKind::kNoFractionColon, "fraction 0"}}},
        {"last below first",
         "1\tS\t1\t2\tAM1\tR1:5:2\tr\tc\n",
         {{1, 13, ReportKind::kLastFractionBelowFirst, "fraction 5"}}},
        {"negative",
         "1\tS\t1\t2\tAM1\tR1:-3:2\tr\tc\n",
         {{1, 13, ReportKind::kNegativeFraction, "fractions -3 to 2"}}},
        {"fractions beyond 32 bits",
         "1\tS\t1\t2\tAM1\tR1:4294967296:-4294967297\tr\tc\n",
         {{1, 16, ReportKind::kFractionOutOfRange, "2147483647"},
          {1, 27, ReportKind::kFractionOutOfRange, "-2147483648"},
          {1, 13, ReportKind::kLastFractionBelowFirst, nullptr}}},
        {"a fraction at the 32-bit limit", "1\tS\t1\t2\tAM1\tR:2147483647\tr\tc\n", {}},
        {"1,000 fractions", "1\tS\t1\t2\tAM1\tR:1:1000\tr\tc\n", {}},
        {"1,001 fractions",
         "1\tS\t1\t2\tAM1\tR:0:1000\tr\tc\n",
         {{1, 13, ReportKind::kLongFractionRange, "1001 records"}}},
        {"seven fields", "1\tS\t1\t2\tAM1\tR:1:2\tr\n", {{1, 20, ReportKind::kFewFields, nullptr}}},
        {"merged empty column",
         "1\tS\t\t2\tAM1\tR:1:2\tr\tc\n",
         {{1, 5, ReportKind::kShiftedColumns, nullptr},
          {1, 21, ReportKind::kFewFields, nullptr},
          {1, 18, ReportKind::kNoFractionColon, nullptr}}},  // "r" is read as column 6
        {"trailing tabs shift nothing", "1\tS\t1\t2\tAM1\tR:1:2\tr\tc\t\t\n", {}},
        {"byte-order mark",
         "\xEF\xBB\xBF" + std::string(kGood) + kGood,
         {{1, 1, ReportKind::kByteOrderMark, nullptr}}},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "1\0\t\0",
                     6) +
             "\n" + kGood,
         {{1, 1, ReportKind::kUtf16Text, nullptr}}},
        {"lone CR",
         "Pos\r" + std::string(kGood) + "\r" + kGood,
         {{1, 4, ReportKind::kLoneCarriageReturn, nullptr},
          {2, 1, ReportKind::kLoneCarriageReturn, nullptr}}},
        {"NUL byte",
         std::string(kGood) + std::string("2\tS\0x\t1\t2\tAM1\tR:1:2\tr\tc\n", 24),
         {{2, 4, ReportKind::kBinaryContent, "0x00"}}},
        {"no sample line", "Pos\tSample\n\n0\tx\n", {{0, 0, ReportKind::kNoSampleLine, nullptr}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const ConversionReport report = Read(dir, c.text);
        ASSERT_EQ(report.Notes().size(), c.warnings.size());
        for (std::size_t i = 0; i < c.warnings.size(); ++i) {
            const ReportNote& note = report.Notes()[i];
            EXPECT_EQ(note.kind, c.warnings[i].kind) << note.message;
            EXPECT_EQ(note.line, c.warnings[i].line) << note.message;
            EXPECT_EQ(note.column, c.warnings[i].column) << note.message;
            if (c.warnings[i].readAs != nullptr) {
                EXPECT_EQ(note.readAs, c.warnings[i].readAs);
            }
            EXPECT_EQ(note.file, k2ltest::NativePath(dir.Path() + "/in.txt"));
        }
    }
}

TEST(SourceLineCheck, SkippedLinesAreListedWithTheirReasonAndBlankOnesOnlyCounted) {
    ScratchDir dir;
    std::vector<SOURCE_ENTRY> entries;
    const ConversionReport report =
        Read(dir, "Korrin run\tx\n\n \t \nPos\tName\n0\tunused\n" + std::string(kGood), &entries);
    EXPECT_EQ(entries.size(), 1u);
    ASSERT_EQ(report.Skipped().size(), 3u);
    EXPECT_EQ(report.Skipped()[0].line, 1);
    EXPECT_EQ(report.Skipped()[0].text, "Korrin run");
    EXPECT_EQ(report.Skipped()[1].line, 4);
    EXPECT_EQ(report.Skipped()[1].reason, SkipReason::kFirstColumnText);
    EXPECT_EQ(report.Skipped()[2].line, 5);
    EXPECT_EQ(report.Skipped()[2].reason, SkipReason::kFirstColumnZero);
}

TEST(SourceLineCheck, ARunOfWarningsKeepsTheFirstHundredAndCountsTheRest) {
    ScratchDir dir;
    std::string text;
    for (int i = 1; i <= 250; ++i) {
        text += std::to_string(i) + "\tS\t1,5\t2\tAM1\tR:1:1\tr\tc\n";
    }
    const ConversionReport report = Read(dir, text);
    EXPECT_EQ(report.Count(ReportKind::kDecimalComma), 250);
    EXPECT_EQ(report.Omitted(ReportKind::kDecimalComma), 150);
    EXPECT_EQ(report.Notes().size(), ConversionReport::kExamplesKept);
    EXPECT_EQ(report.Notes().back().line, 100);
}

TEST(SourceLineCheck, TheEntriesAreTheSameWithAReportOrWithout) {
    ScratchDir dir;
    const std::string text =
        "\xEF\xBB\xBF"
        "Pos\n1\tS\t1,5\tnan\tA1M1e39\tR1:5:2\tr\tc\n"
        "2\tS\t\t2\tA2M2\tR1\n3\tS3\t1\t2\tA3M2\tR1:-3:2\tr\tc\n";
    std::vector<SOURCE_ENTRY> reported;
    Read(dir, text, &reported);
    CSourceListFile plain(dir.Path() + "/in.txt");
    std::vector<SOURCE_ENTRY> entries;
    for (SOURCE_ENTRY entry; plain.ReadEntry(entry);) {
        entries.push_back(entry);
    }
    ASSERT_EQ(entries.size(), reported.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(std::memcmp(&entries[i].fKey, &reported[i].fKey, sizeof(float)), 0);
        EXPECT_EQ(entries[i].strColumn2, reported[i].strColumn2);
        EXPECT_EQ(entries[i].nFirstFraction, reported[i].nFirstFraction);
        EXPECT_EQ(entries[i].nLastFraction, reported[i].nLastFraction);
        EXPECT_EQ(entries[i].strColumn5Text, reported[i].strColumn5Text);
        EXPECT_EQ(std::memcmp(&entries[i].fColumn5Value, &reported[i].fColumn5Value, sizeof(float)),
                  0);
    }
}

}  // namespace
