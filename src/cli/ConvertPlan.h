// The conversions `korr2ld-cli convert` is asked for, checked before any of
// them runs: what a command line can get wrong is refused as a whole, with
// nothing touched.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/ConvertCommand.h"
#include "cli/OutputPaths.h"

struct ConvertJob {
    std::string input;
    OutputPath output;  // a job whose output cannot be used fails with its status
    std::string dataFile;
};

// One job per input of OPTIONS (the batch's, or INPUT with its OUTPUT);
// nothing when the command line is refused, each reason told on ERR as a
// line of its own:
// - a name the dialog would not take (cli/NameRules.h);
// - an input whose title cannot name the Sample List derived from it
//   (CheckDerivedTitle, util/OutputName.h);
// - a Sample List path holding a control character (CheckOutputText);
// - in a batch, two inputs that would give the same Sample List, or an
//   input that is the Sample List another input would give (the same path
//   made absolute, or the same file).
std::optional<std::vector<ConvertJob>> PlanConversions(const ConvertOptions& options,
                                                       std::ostream& err);
