// One conversion as the dialog and the command line run it: what both do
// around CSLConvert, once. The caller builds the CSLConvert (paths, names,
// flags) and presents the outcome; RunConversion
//
//   1. refuses an output that is the input file (the same file, whatever
//      path leads to it) and, when the caller asks, an output that exists
//      and may not be replaced, before anything is touched;
//   2. converts, folding what Convert throws into the outcome: the file
//      exception of a read error of the input (the new list was given up,
//      what was at the output before is as it was), or any other exception;
//   3. appends one line to the conversion log, with the input as an
//      absolute path; a dry run logs nothing.
//
// Its counts, warnings and notices are in the outcome's report.
#pragma once

#include <string>

#include "framework/Status.h"
#include "util/ConversionReport.h"

class CSLConvert;

struct ConversionOutcome {
    std::string input;   // as given to the conversion
    std::string output;  // as given to the conversion
    bool dryRun = false;
    Status status = Status::Error("not converted");  // ok, or why the list was not created
    bool readError = false;                          // the input could not be read to its end
    ConversionReport report;
    // Why the log line could not be written; empty when it was or none was due.
    std::string logProblem;
};

// The caller's words for the refusals of step 1, which its user answers.
struct RunWording {
    // Ends the refusal "It is the input file INPUT; ...".
    std::string otherOutput = "choose another name for the Sample List.";
    // Not empty: an output that exists is refused when the conversion may
    // not replace it (m_bReplaceExisting FALSE), with "It already exists;
    // nothing was changed. " and these words. Empty: such an output is
    // left to the record library, which refuses it when it comes to it.
    std::string keepExisting;
};

// Runs CONVERT as above.
ConversionOutcome RunConversion(CSLConvert& convert, const RunWording& wording = RunWording());

// A conversion the caller refused before running it (its output path
// cannot be used): the outcome says WHY, and it is logged like any other.
ConversionOutcome RefuseConversion(const CSLConvert& convert, Status why);
