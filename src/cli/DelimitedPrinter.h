// DelimitedPrinter: the records as tab-separated values (fields escaped
// with EscapeForTsv, lines ended by LF) or as comma-separated values after
// RFC 4180 (fields quoted with QuoteForCsv, lines ended by CR LF). The
// first line names the fields by their keys, the record's position first.
#pragma once

#include <string_view>

#include "cli/RecordPrinter.h"

class DelimitedPrinter : public RecordPrinter {
public:
    enum class Style { tsv, csv };

    explicit DelimitedPrinter(Style style) : m_style(style) {}

    void Begin(std::ostream& out) override;
    void Row(std::ostream& out, std::int32_t number, const RecordRow& row) override;
    void End(std::ostream& /*out*/) override {}

private:
    void WriteCell(std::ostream& out, std::string_view text) const;
    const char* Separator() const;
    const char* LineEnd() const;

    Style m_style;
};
