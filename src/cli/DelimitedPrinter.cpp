#include "cli/DelimitedPrinter.h"

#include <string>

#include "cli/TextEscape.h"

namespace {

constexpr const char* kNumberKey = "record";

}  // namespace

void DelimitedPrinter::Begin(std::ostream& out) {
    out << kNumberKey;
    for (const RecordField& field : kRecordFields) {
        out << Separator();
        WriteCell(out, field.key);
    }
    out << LineEnd();
}

void DelimitedPrinter::Row(std::ostream& out, std::int32_t number, const RecordRow& row) {
    out << number;
    for (const std::string& cell : row) {
        out << Separator();
        WriteCell(out, cell);
    }
    out << LineEnd();
}

void DelimitedPrinter::WriteCell(std::ostream& out, std::string_view text) const {
    out << (m_style == Style::tsv ? EscapeForTsv(text) : QuoteForCsv(text));
}

const char* DelimitedPrinter::Separator() const {
    return m_style == Style::tsv ? "\t" : ",";
}

const char* DelimitedPrinter::LineEnd() const {
    return m_style == Style::tsv ? "\n" : "\r\n";
}
