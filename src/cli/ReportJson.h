// `korr2ld-cli convert --report json`: every conversion of the command as
// one JSON document on standard output (see docs/report-json.md).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "convert/ConversionRun.h"

// Writes {"conversions": [...]} for OUTCOMES to OUT.
void WriteReportJson(std::ostream& out, const std::vector<ConversionOutcome>& outcomes);
