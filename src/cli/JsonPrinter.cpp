#include "cli/JsonPrinter.h"

#include "cli/TextEscape.h"

void JsonPrinter::Begin(std::ostream& out) {
    out << '[';
    m_first = true;
}

void JsonPrinter::Row(std::ostream& out, std::int32_t number, const RecordRow& row) {
    out << (m_first ? "\n" : ",\n") << "{\"record\": " << number;
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        out << ", " << QuoteForJson(kRecordFields[i].key) << ": " << QuoteForJson(row[i]);
    }
    out << '}';
    m_first = false;
}

void JsonPrinter::End(std::ostream& out) {
    out << (m_first ? "]\n" : "\n]\n");
}
