// SourceLineCheck looks at the export's lines as the reader reads them and
// adds to a ConversionReport what the user should know: bytes that are not
// tab-delimited text, lines skipped, and values that the C library's
// conversions read differently from what the export most likely meant (a
// decimal comma, an infinity, a fraction range that is not one). It only
// looks: what the reader yields is the same with or without it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/ConversionReport.h"

class SourceLineCheck {
public:
    // Columns of a sample line; fewer are read as empty.
    static constexpr std::size_t kColumns = 8;
    // More fractions than this in one line's range is most likely a typo.
    static constexpr std::int64_t kLongFractionRange = 1000;

    // Adds to REPORT, naming FILE in every note.
    SourceLineCheck(ConversionReport& report, std::string file);

    // Every line, as read (without its line end), before it is split.
    void OnLine(std::int64_t line, std::string_view text);
    // A line that gave no sample, split into FIELDS.
    void OnSkipped(std::int64_t line, const std::vector<std::string>& fields);
    // A sample line: its text and its FIELDS.
    void OnSample(std::int64_t line, std::string_view text, const std::vector<std::string>& fields);
    // The end of the file, after SAMPLE_LINES sample lines.
    void OnEnd(std::int64_t sampleLines);

private:
    void Warn(ReportKind kind, std::int64_t line, std::int64_t column, std::string_view text,
              std::string readAs, std::string message);
    void CheckNumber(std::int64_t line, std::int64_t column, std::string_view text,
                     const char* what);
    // The fraction number at START of the fraction column TEXT.
    void CheckFraction(std::int64_t line, std::int64_t column, std::string_view text,
                       std::size_t start);
    void CheckFractions(std::int64_t line, std::int64_t column, std::string_view text);

    ConversionReport& m_report;
    std::string m_file;
    bool m_bUtf16 = false;
    bool m_bEnded = false;
};
