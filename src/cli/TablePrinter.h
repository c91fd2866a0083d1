// TablePrinter: the records as an aligned table for a terminal, a header
// row, a rule and one line per record, the record's position first. Field
// text is escaped with EscapeForTable, so the table is printable ASCII and
// its columns line up whatever the records hold.
#pragma once

#include <array>
#include <cstddef>

#include "cli/RecordPrinter.h"

class TablePrinter : public RecordPrinter {
public:
    TablePrinter();

    bool NeedsMeasuring() const override { return true; }
    void Measure(const RecordRow& row) override;

    void Begin(std::ostream& out) override;
    void Row(std::ostream& out, std::int32_t number, const RecordRow& row) override;
    void End(std::ostream& out) override;

private:
    void WriteLine(std::ostream& out, const std::string& number,
                   const std::array<std::string, kRecordFieldCount>& cells) const;

    std::size_t m_numberWidth;
    std::array<std::size_t, kRecordFieldCount> m_widths;
    std::int32_t m_measured = 0;
};
