#include "cli/RecordPrinter.h"

#include "cli/DelimitedPrinter.h"
#include "cli/JsonPrinter.h"
#include "cli/TablePrinter.h"

std::unique_ptr<RecordPrinter> MakeRecordPrinter(OutputFormat format) {
    switch (format) {
        case OutputFormat::tsv:
            return std::make_unique<DelimitedPrinter>(DelimitedPrinter::Style::tsv);
        case OutputFormat::csv:
            return std::make_unique<DelimitedPrinter>(DelimitedPrinter::Style::csv);
        case OutputFormat::json:
            return std::make_unique<JsonPrinter>();
        case OutputFormat::table:
            break;
    }
    return std::make_unique<TablePrinter>();
}
