#include "cli/TablePrinter.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "cli/TextEscape.h"

namespace {

constexpr const char* kNumberTitle = "#";
constexpr const char* kGap = "  ";

void Pad(std::ostream& out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        out << ' ';
    }
}

}  // namespace

TablePrinter::TablePrinter() : m_numberWidth(std::strlen(kNumberTitle)) {
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        m_widths[i] = std::strlen(kRecordFields[i].title);
    }
}

void TablePrinter::Measure(const RecordRow& row) {
    ++m_measured;
    m_numberWidth = std::max(m_numberWidth, std::to_string(m_measured).size());
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        m_widths[i] = std::max(m_widths[i], EscapeForTable(row[i]).size());
    }
}

void TablePrinter::Begin(std::ostream& out) {
    std::array<std::string, kRecordFieldCount> titles;
    std::array<std::string, kRecordFieldCount> rules;
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        titles[i] = kRecordFields[i].title;
        rules[i].assign(m_widths[i], '-');
    }
    WriteLine(out, kNumberTitle, titles);
    WriteLine(out, std::string(m_numberWidth, '-'), rules);
}

void TablePrinter::Row(std::ostream& out, std::int32_t number, const RecordRow& row) {
    std::array<std::string, kRecordFieldCount> cells;
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        cells[i] = EscapeForTable(row[i]);
    }
    WriteLine(out, std::to_string(number), cells);
}

void TablePrinter::End(std::ostream& /*out*/) {}

// The record position is right-aligned, the fields left-aligned; the last
// column gets no trailing blanks.
void TablePrinter::WriteLine(std::ostream& out, const std::string& number,
                             const std::array<std::string, kRecordFieldCount>& cells) const {
    Pad(out, m_numberWidth - std::min(m_numberWidth, number.size()));
    out << number;
    for (std::size_t i = 0; i < kRecordFieldCount; ++i) {
        out << kGap << cells[i];
        if (i + 1 < kRecordFieldCount) {
            Pad(out, m_widths[i] - std::min(m_widths[i], cells[i].size()));
        }
    }
    out << '\n';
}
