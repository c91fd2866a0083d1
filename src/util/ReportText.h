// The text of a ConversionReport, as the command line prints it and the
// dialog shows it: one line per item, compiler style ("FILE:LINE:COLUMN:
// warning: ..."), control bytes made visible as "\xNN".
#pragma once

#include <string>
#include <vector>

#include "util/ConversionReport.h"

// "9 records written, 4 sample lines read, 4 other lines skipped"; in a dry
// run "9 records to write, ...".
std::string ReportCountsLine(const ConversionReport& report, bool dryRun = false);

// Every warning kept, in the order found, then one line per kind with
// warnings not kept ("FILE: warning: 12 more ... warnings not shown").
std::vector<std::string> ReportWarningLines(const ConversionReport& report);

// Every skipped line kept ("INPUT:LINE: skipped: first column is text
// (Pos)"), then one line for those not kept.
std::vector<std::string> ReportSkippedLines(const ConversionReport& report,
                                            const std::string& input);

// The warning lines, then the skipped lines: all a report has to show.
std::vector<std::string> ReportLines(const ConversionReport& report, const std::string& input);

// TEXT with control bytes and DEL written as "\xNN", everything else as is.
std::string VisibleText(const std::string& text);
