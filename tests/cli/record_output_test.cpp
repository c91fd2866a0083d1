#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/RecordPrinter.h"
#include "samplelist/RecordFields.h"

namespace {

SAMPLE_RECORD ZeroRecord() {
    SAMPLE_RECORD record;
    std::memset(&record, 0, sizeof record);
    return record;
}

RecordRow Row(std::string dataFile, std::string fraction) {
    RecordRow row;
    row[0] = std::move(dataFile);
    row[1] = std::move(fraction);
    return row;
}

std::string Print(OutputFormat format, const std::vector<RecordRow>& rows) {
    const auto printer = MakeRecordPrinter(format);
    if (printer->NeedsMeasuring()) {
        for (const RecordRow& row : rows) {
            printer->Measure(row);
        }
    }
    std::ostringstream out;
    printer->Begin(out);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        printer->Row(out, static_cast<std::int32_t>(i + 1), rows[i]);
    }
    printer->End(out);
    return out.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(ReadRecordRow, ReadsTheWrittenFieldsByName) {
    SAMPLE_RECORD record = ZeroRecord();
    std::strcpy(record.szDataFile, "[RUN12002]");
    std::strcpy(record.szFraction, "Fraction:4, 1.50, 2.00");
    std::strcpy(record.szMSMethod, "[ESI_POS]");
    std::strcpy(record.szInletMethod, "[]");
    std::strcpy(record.szMacro, "[ACQUIRE]");
    std::strcpy(record.szRecordNumber, "[2]");
    std::strcpy(record.szColumn5Text, "A1");
    std::strcpy(record.szValue[0], "2.500");
    std::strcpy(record.szValue[1], "not shown");
    const RecordRow row = ReadRecordRow(record);
    EXPECT_EQ(row, (RecordRow{"[RUN12002]", "Fraction:4, 1.50, 2.00", "[ESI_POS]", "[]",
                              "[ACQUIRE]", "[2]", "A1", "2.500"}));
}

TEST(ReadRecordRow, StopsAtTheEndOfASpanThatHoldsNoZero) {
    SAMPLE_RECORD record = ZeroRecord();
    std::memset(record.szDataFile, 'A', sizeof record.szDataFile);
    std::strcpy(record.szFraction, "next field");
    std::memset(record.szRecordNumber, '9', sizeof record.szRecordNumber);
    std::memset(record.szText1453, 'X', sizeof record.szText1453);
    std::memset(record.szValue[0], '7', sizeof record.szValue[0]);
    std::memset(record.szValue[1], '8', sizeof record.szValue[1]);
    const RecordRow row = ReadRecordRow(record);
    EXPECT_EQ(row[0], std::string(260, 'A'));
    EXPECT_EQ(row[1], "next field");
    EXPECT_EQ(row[5], std::string(20, '9'));
    EXPECT_EQ(row[7], std::string(30, '7'));
}

TEST(TablePrinter, AlignsEscapedColumnsUnderTheirTitles) {
    const std::string table =
        Print(OutputFormat::table, {Row("RUN12001", "Fraction:3"), Row("R\tX\xFF", "F")});
    const std::vector<std::string> lines = Lines(table);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("#  Data File", 0), 0u) << lines[0];
    EXPECT_NE(lines[3].find("R\\x09X\\xFF"), std::string::npos);
    // "R\x09X\xFF" (10 characters) is the widest data file: the fraction column
    // starts at the same position in every line.
    const std::size_t fraction = lines[0].find("Fraction");
    EXPECT_EQ(lines[2].find("Fraction:3"), fraction);
    EXPECT_EQ(lines[3].find("  F"), fraction - 2);
    EXPECT_EQ(lines[1].substr(0, 1 + 2 + 10), "-  ----------");
}

TEST(DelimitedPrinter, TsvHasAHeaderAndEscapedFields) {
    const std::string tsv = Print(OutputFormat::tsv, {Row("a\tb", "c\\d\ne")});
    EXPECT_EQ(tsv,
              "record\tdata_file\tfraction\tms_method\tinlet_method\tmacro\trunning_number\t"
              "column5_text\tcolumn5_value\n"
              "1\ta\\tb\tc\\\\d\\ne\t\t\t\t\t\t\n");
}

TEST(DelimitedPrinter, CsvQuotesAfterRfc4180WithCrLfLines) {
    const std::string csv = Print(OutputFormat::csv, {Row("x\"y", "Fraction:1, 1.50, 2.00")});
    EXPECT_EQ(csv,
              "record,data_file,fraction,ms_method,inlet_method,macro,running_number,"
              "column5_text,column5_value\r\n"
              "1,\"x\"\"y\",\"Fraction:1, 1.50, 2.00\",,,,,,\r\n");
}

TEST(JsonPrinter, WritesAnArrayOfObjectsAndAnEmptyArrayForNoRecords) {
    EXPECT_EQ(Print(OutputFormat::json, {}), "[]\n");
    const std::string json = Print(OutputFormat::json, {Row("A", "\xFF"), Row("B", "")});
    EXPECT_EQ(json,
              "[\n"
              "{\"record\": 1, \"data_file\": \"A\", \"fraction\": \"\\u00FF\", \"ms_method\": "
              "\"\", \"inlet_method\": \"\", \"macro\": \"\", \"running_number\": \"\", "
              "\"column5_text\": \"\", \"column5_value\": \"\"},\n"
              "{\"record\": 2, \"data_file\": \"B\", \"fraction\": \"\", \"ms_method\": \"\", "
              "\"inlet_method\": \"\", \"macro\": \"\", \"running_number\": \"\", "
              "\"column5_text\": \"\", \"column5_value\": \"\"}\n"
              "]\n");
}

}  // namespace
