// Fuzzes the export reader: the input is an exported sample file, read
// through CSourceListFile to its end. Every entry is compared with a plain
// model of the reader built from the same bytes (lines split at line
// feeds, a carriage return before a line feed dropped, tab-separated
// fields with empty columns merged), so that the reader's buffer reuse and
// chunked line reading cannot drift from what the file says. The reader
// fills a report meanwhile: each of its notes must point into the file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "framework/FileException.h"
#include "source/NumericText.h"
#include "source/SourceListFile.h"
#include "util/ConversionReport.h"

namespace {

std::vector<std::string_view> ModelFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t tab = line.find('\t', start);
        const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
        if (end > start) {
            fields.push_back(line.substr(start, end - start));
        }
        if (tab == std::string_view::npos) {
            break;
        }
        start = tab + 1;
    }
    return fields;
}

std::string_view Field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

bool SameFloat(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || a == b;
}

// The entry the reader must give for a sample line with FIELDS.
SOURCE_ENTRY ModelEntry(const std::vector<std::string_view>& fields) {
    SOURCE_ENTRY entry;
    entry.fKey = static_cast<float>(DecimalValue(Field(fields, 0)));
    entry.strColumn2 = Field(fields, 1);
    entry.fColumn3 = static_cast<float>(DecimalValue(Field(fields, 2)));
    entry.fColumn4 = static_cast<float>(DecimalValue(Field(fields, 3)));
    const std::string_view column5 = Field(fields, 4);
    const std::size_t m = column5.rfind('M');
    entry.strColumn5Text = column5.substr(0, m);
    entry.fColumn5Value = m == std::string_view::npos
                              ? 0.0f
                              : static_cast<float>(DecimalValue(column5.substr(m + 1)));
    const std::string_view column6 = Field(fields, 5);
    const std::size_t first = column6.find(':');
    if (first != std::string_view::npos) {
        entry.nFirstFraction = IntegerValue(column6.substr(first + 1));
        entry.nLastFraction = IntegerValue(column6.substr(column6.rfind(':') + 1));
        if (entry.nLastFraction < entry.nFirstFraction) {
            entry.nLastFraction = entry.nFirstFraction;
        }
    }
    entry.strColumn7 = Field(fields, 6);
    entry.strColumn8 = Field(fields, 7);
    return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::ScratchPath("export.txt");
    fuzz::WriteFile(path, data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string_view> lines = fuzz::LinesOf(text);
    std::size_t next = 0;  // index of the next model line to look at
    std::int64_t skipped = 0;
    std::int64_t samples = 0;

    CSourceListFile reader(path);
    FUZZ_CHECK(reader.IsOpen());
    ConversionReport report;
    reader.SetReport(&report);
    SOURCE_ENTRY entry;
    try {
        while (reader.ReadEntry(entry)) {
            std::vector<std::string_view> fields;
            for (;;) {
                FUZZ_CHECK(next < lines.size());  // an entry the file does not hold
                fields = ModelFields(lines[next++]);
                if (DecimalValue(Field(fields, 0)) != 0.0) {
                    break;
                }
                ++skipped;
            }
            ++samples;
            const SOURCE_ENTRY expected = ModelEntry(fields);
            FUZZ_CHECK(reader.GetLineNumber() == static_cast<std::int64_t>(next));
            FUZZ_CHECK(SameFloat(entry.fKey, expected.fKey));
            FUZZ_CHECK(entry.strColumn2 == expected.strColumn2);
            FUZZ_CHECK(SameFloat(entry.fColumn3, expected.fColumn3));
            FUZZ_CHECK(SameFloat(entry.fColumn4, expected.fColumn4));
            FUZZ_CHECK(entry.strColumn5Text == expected.strColumn5Text);
            FUZZ_CHECK(SameFloat(entry.fColumn5Value, expected.fColumn5Value));
            FUZZ_CHECK(entry.nFirstFraction == expected.nFirstFraction);
            FUZZ_CHECK(entry.nLastFraction == expected.nLastFraction);
            FUZZ_CHECK(entry.nLastFraction >= entry.nFirstFraction);
            FUZZ_CHECK(entry.strColumn7 == expected.strColumn7);
            FUZZ_CHECK(entry.strColumn8 == expected.strColumn8);
        }
    } catch (const CFileException& error) {
        // Only a line over the reader's limit may stop a readable file.
        FUZZ_CHECK(error.m_cause == CFileException::lineTooLong);
        return 0;
    }
    // The rest of the file holds no sample line.
    for (; next < lines.size(); ++next) {
        FUZZ_CHECK(DecimalValue(Field(ModelFields(lines[next]), 0)) == 0.0);
        ++skipped;
    }
    FUZZ_CHECK(reader.GetSampleLineCount() == samples);
    FUZZ_CHECK(reader.GetSkippedLineCount() == skipped);
    for (const ReportNote& note : report.Notes()) {
        FUZZ_CHECK(note.line >= 0 && note.line <= static_cast<std::int64_t>(lines.size()));
        FUZZ_CHECK(note.line != 0 || note.column == 0);
        FUZZ_CHECK(note.line == 0 ||
                   (note.column >= 1 &&
                    note.column <= static_cast<std::int64_t>(lines[note.line - 1].size()) + 1));
    }
    std::int64_t previous = 0;
    for (const SkippedLine& line : report.Skipped()) {
        FUZZ_CHECK(line.line > previous && line.line <= static_cast<std::int64_t>(lines.size()));
        previous = line.line;
    }
    FUZZ_CHECK(static_cast<std::int64_t>(report.Skipped().size()) + report.SkippedOmitted() <=
               skipped);
    return 0;
}
