// RecordPrinter writes the records of a Sample List in one output format.
//
// The caller hands every record to Measure first when NeedsMeasuring() is
// true (the table sizes its columns from all rows), then calls Begin, Row
// for every record in order, and End. Rows are written as they come, so the
// memory used does not grow with the number of records.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>

#include "samplelist/RecordFields.h"

enum class OutputFormat { table, tsv, csv, json };

class RecordPrinter {
public:
    virtual ~RecordPrinter() = default;

    virtual bool NeedsMeasuring() const { return false; }
    virtual void Measure(const RecordRow& /*row*/) {}

    virtual void Begin(std::ostream& out) = 0;
    // NUMBER is the record's 1-based position in the Sample List.
    virtual void Row(std::ostream& out, std::int32_t number, const RecordRow& row) = 0;
    virtual void End(std::ostream& out) = 0;
};

std::unique_ptr<RecordPrinter> MakeRecordPrinter(OutputFormat format);
