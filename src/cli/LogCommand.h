// `korr2ld-cli log`: the last conversions from the conversion log (see
// convert/ConversionLog.h), newest last, each as a short block:
//
//   2026-12-09T04:05:06Z alice created /data/run1.sdb
//     input  /data/run1.txt
//     sha256 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08
//     names  MS method MS1, inlet method LC1, macro MAC1, data file RUN
//     counts 12 records, 4 sample lines, 1 skipped line, 0 warnings
//
// A failed conversion's first line reads "... failed OUTPUT: REASON". Texts
// are shown unescaped, with control characters and other bytes outside
// printable ASCII made visible as `show` does in its table ("\xNN", "\\").
// A line not in the log's format is shown as it is, marked as such; one
// longer than a log line can be is shown by its length alone.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

inline constexpr std::int64_t kDefaultLogEntries = 10;

// Adds the subcommand to APP; when it is chosen, it runs after parsing and
// leaves its exit status in EXIT_CODE.
void AddLogCommand(CLI::App& app, int& exitCode);

// Prints the last COUNT (at least 1) entries of the log at PATH on OUT. No
// log file: nothing on OUT, a note on ERR, success. A log that cannot be
// read: a message naming it and the reason on ERR, failure.
int RunLog(const std::string& path, std::int64_t count, std::ostream& out, std::ostream& err);
