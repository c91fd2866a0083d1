// JsonPrinter: the records as one JSON array of objects, one object per
// line, each with "record" (the 1-based position, a number) and the field
// keys of kRecordFields (strings). Strings are written with QuoteForJson:
// one code point per byte, so the output is valid JSON and pure ASCII for
// any record content.
#pragma once

#include "cli/RecordPrinter.h"

class JsonPrinter : public RecordPrinter {
public:
    void Begin(std::ostream& out) override;
    void Row(std::ostream& out, std::int32_t number, const RecordRow& row) override;
    void End(std::ostream& out) override;

private:
    bool m_first = true;
};
