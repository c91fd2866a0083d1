#include "source/SourceLineCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "framework/TextClass.h"
#include "source/NumericText.h"
#include "util/ConversionReport.h"

namespace {

constexpr char kTab = '\t';

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A byte that tab-delimited text does not hold: C0 controls other than tab,
// line feed, vertical tab, form feed and carriage return, and DEL.
bool IsBinary(unsigned char c) {
    return IsControl(c) && (c < '\t' || c > '\r');
}

// 1-based byte column where field INDEX of LINE starts, with the reader's
// splitting: leading tabs are skipped and a run of tabs separates like one.
std::int64_t FieldColumn(std::string_view line, std::size_t index) {
    std::size_t i = line.find_first_not_of(kTab);
    for (std::size_t field = 0; field < index && i != std::string_view::npos; ++field) {
        i = line.find(kTab, i);
        i = i == std::string_view::npos ? i : line.find_first_not_of(kTab, i);
    }
    return i == std::string_view::npos ? static_cast<std::int64_t>(line.size()) + 1
                                       : static_cast<std::int64_t>(i) + 1;
}

// Position after white space and a sign, where a number's digits start.
std::size_t NumberStart(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) {
        return text.size();
    }
    return i < text.size() && (text[i] == '+' || text[i] == '-') ? i + 1 : i;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((text[i] | 0x20) != word[i]) {
            return false;
        }
    }
    return true;
}

std::string Shown(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string Hex(unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", c);
    return text;
}

}  // namespace

SourceLineCheck::SourceLineCheck(ConversionReport& report, std::string file)
    : m_report(report), m_file(std::move(file)) {}

void SourceLineCheck::Warn(ReportKind kind, std::int64_t line, std::int64_t column,
                           std::string_view text, std::string readAs, std::string message) {
    m_report.Warn(
        {kind, m_file, line, column, std::string(text), std::move(readAs), std::move(message)});
}

void SourceLineCheck::OnLine(std::int64_t line, std::string_view text) {
    if (line == 1) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            Warn(ReportKind::kByteOrderMark, 1, 1, "", "",
                 "the file starts with a UTF-8 byte-order mark; it is read as part of the first "
                 "column, so a sample on line 1 is skipped");
        }
        const bool utf16Mark = text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF";
        const bool utf16Zeros = text.size() >= 2 && ((text[0] == '\0') != (text[1] == '\0'));
        if (utf16Mark || utf16Zeros) {
            m_bUtf16 = true;
            Warn(ReportKind::kUtf16Text, 1, 1, "", "",
                 "the file is UTF-16 text, which is read byte by byte: save the export as plain "
                 "text (UTF-8 or ASCII)");
        }
    }
    bool carriageReturn = false;
    bool binary = m_bUtf16;  // a UTF-16 file is said to be one once
    for (std::size_t i = 0; i < text.size() && !(carriageReturn && binary); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!IsControl(c)) {
            continue;
        }
        const auto column = static_cast<std::int64_t>(i) + 1;
        if (c == '\r' && !carriageReturn) {
            carriageReturn = true;
            Warn(ReportKind::kLoneCarriageReturn, line, column, "", "",
                 "a carriage return without a line feed ends a line here (old Mac line ends); "
                 "the lines it ends are read as one");
        } else if (IsBinary(c) && !binary) {
            binary = true;
            Warn(ReportKind::kBinaryContent, line, column, text.substr(i, 1), Hex(c),
                 std::string(c == 0 ? "a NUL byte" : "a control byte") +
                     ": this line holds binary content, not text");
        }
    }
}

void SourceLineCheck::OnSkipped(std::int64_t line, const std::vector<std::string>& fields) {
    if (fields.empty() || IsBlank(fields[0])) {
        return;
    }
    const bool number = DecimalPrefixLength(fields[0]) != 0;
    m_report.Skip(line, number ? SkipReason::kFirstColumnZero : SkipReason::kFirstColumnText,
                  fields[0]);
    if (number) {
        // "0,5" is skipped as a zero; say why.
        CheckNumber(line, 1, fields[0], "column 1");
    }
}

void SourceLineCheck::OnSample(std::int64_t line, std::string_view text,
                               const std::vector<std::string>& fields) {
    const auto column = [&](std::size_t index) { return FieldColumn(text, index); };
    const auto field = [&](std::size_t index) {
        return index < fields.size() ? std::string_view(fields[index]) : std::string_view();
    };

    // An empty column between others is merged away by the reader.
    std::string_view content = text;
    content = content.substr(0, content.find_last_not_of(kTab) + 1);
    const std::size_t gap = content.empty()           ? std::string_view::npos
                            : content.front() == kTab ? 0
                                                      : content.find("\t\t");
    if (gap != std::string_view::npos) {
        const auto gapColumn = static_cast<std::int64_t>(gap == 0 ? 1 : gap + 2);
        Warn(ReportKind::kShiftedColumns, line, gapColumn, "", "",
             "an empty column here is merged away: the columns after it are read one place to "
             "the left");
    }
    if (fields.size() < kColumns) {
        Warn(ReportKind::kFewFields, line, column(fields.size()), "",
             "columns " + std::to_string(fields.size() + 1) + " to 8 empty",
             "a sample line has 8 columns; this one has " + std::to_string(fields.size()));
    }

    CheckNumber(line, column(0), field(0), "column 1");
    CheckNumber(line, column(2), field(2), "column 3");
    CheckNumber(line, column(3), field(3), "column 4");
    const std::string_view column5 = field(4);
    const std::size_t m = column5.rfind('M');
    if (m != std::string_view::npos) {
        CheckNumber(line, column(4) + static_cast<std::int64_t>(m) + 1, column5.substr(m + 1),
                    "the column-5 value");
    }
    CheckFractions(line, column(5), field(5));
}

void SourceLineCheck::CheckNumber(std::int64_t line, std::int64_t column, std::string_view text,
                                  const char* what) {
    const double value = DecimalValue(text);
    const std::size_t prefix = DecimalPrefixLength(text);
    const std::size_t start = prefix != 0 ? prefix : NumberStart(text);
    const std::string_view rest = text.substr(start);
    // Formatted only for a warning: most values need none.
    const auto readAs = [value] { return Shown(static_cast<float>(value)); };
    if (rest.size() >= 2 && rest[0] == ',' && IsDigit(rest[1]) &&
        text.substr(0, start).find('.') == std::string_view::npos) {
        Warn(ReportKind::kDecimalComma, line, column, text, readAs(),
             std::string(what) + " \"" + std::string(text) +
                 "\" has a decimal comma; only the part before it is read: " + readAs());
    } else if (prefix == 0 && (StartsWithWord(rest, "inf") || StartsWithWord(rest, "nan"))) {
        Warn(ReportKind::kNumberWord, line, column, text, "0",
             std::string(what) + " \"" + std::string(text) +
                 "\" is not a decimal number and is read as 0");
    } else if (std::isinf(static_cast<float>(value))) {
        Warn(ReportKind::kBeyondFloatRange, line, column, text, readAs(),
             std::string(what) + " \"" + std::string(text) +
                 "\" is beyond the range of a 32-bit float and is read as " + readAs());
    }
}

void SourceLineCheck::CheckFraction(std::int64_t line, std::int64_t column, std::string_view text,
                                    std::size_t start) {
    const std::int64_t wide = WideIntegerValue(text.substr(start));
    const std::int32_t read = IntegerValue(text.substr(start));
    if (wide == read) {
        return;
    }
    const std::size_t digits = NumberStart(text.substr(start));
    const std::size_t end = text.find_first_not_of("0123456789", start + digits);
    const std::string_view number =
        text.substr(start, end == std::string_view::npos ? end : end - start);
    Warn(ReportKind::kFractionOutOfRange, line, column + static_cast<std::int64_t>(start), text,
         std::to_string(read),
         "the fraction number \"" + std::string(number) + "\" in \"" + std::string(text) +
             "\" is beyond the range of a 32-bit integer and is read as " + std::to_string(read));
}

void SourceLineCheck::CheckFractions(std::int64_t line, std::int64_t column,
                                     std::string_view text) {
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos) {
        Warn(ReportKind::kNoFractionColon, line, column, text, "fraction 0",
             "the fraction column \"" + std::string(text) +
                 "\" has no colon, so the line gives one record with fraction 0");
        return;
    }
    const std::size_t lastColon = text.rfind(':');
    CheckFraction(line, column, text, first + 1);
    if (lastColon != first) {
        CheckFraction(line, column, text, lastColon + 1);
    }
    const std::int64_t from = IntegerValue(text.substr(first + 1));
    const std::int64_t to = IntegerValue(text.substr(lastColon + 1));
    const auto range = [](std::int64_t a, std::int64_t b) {
        return a == b ? "fraction " + std::to_string(a)
                      : "fractions " + std::to_string(a) + " to " + std::to_string(b);
    };
    if (to < from) {
        Warn(ReportKind::kLastFractionBelowFirst, line, column, text, range(from, from),
             "the fraction range \"" + std::string(text) +
                 "\" ends below its start, so the line gives only fraction " +
                 std::to_string(from));
    }
    const std::int64_t last = std::max(from, to);
    if (from < 0 || last < 0) {
        Warn(ReportKind::kNegativeFraction, line, column, text, range(from, last),
             "the fraction range \"" + std::string(text) +
                 "\" has a negative fraction: " + range(from, last));
    }
    if (last - from + 1 > kLongFractionRange) {
        Warn(ReportKind::kLongFractionRange, line, column, text,
             std::to_string(last - from + 1) + " records",
             "the fraction range " + range(from, last) + " gives " +
                 std::to_string(last - from + 1) + " records");
    }
}

void SourceLineCheck::OnEnd(std::int64_t sampleLines) {
    if (sampleLines == 0 && !m_bEnded) {
        Warn(ReportKind::kNoSampleLine, 0, 0, "", "",
             "no line is a sample line (one whose first column is a non-zero number): the "
             "Sample List has no record");
    }
    m_bEnded = true;
}
