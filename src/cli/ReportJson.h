// `korr2ld-cli convert --report json`: every conversion of the command as
// one JSON document on standard output (see docs/report-json.md).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "framework/Status.h"
#include "util/ConversionReport.h"

// What one conversion of the command did.
struct ConversionOutcome {
    std::string input;
    std::string output;
    bool dryRun = false;
    Status status = Status::Error("not converted");  // ok, or why not
    std::vector<std::string> notices;                // the conversion's own warning sentences
    ConversionReport report;
};

// Writes {"conversions": [...]} for OUTCOMES to OUT.
void WriteReportJson(std::ostream& out, const std::vector<ConversionOutcome>& outcomes);
