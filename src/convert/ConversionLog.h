// The conversion log: one line per conversion, from the dialog or the
// command line, appended to $XDG_STATE_HOME/korr2ld/conversions.log, so that
// a Sample List can be traced back to the export it came from and the
// export's bytes checked against the SHA-256 noted then. The line format is
// in convert/ConversionLogLine.h and docs/conversion-log.md.
//
// Writing the log never fails or holds up a conversion: a log that cannot be
// written, or that another process keeps locked for 2 s, is reported as one
// sentence the caller shows next to the conversion's result. The log must be
// a regular file: a pipe, device or directory at its place is refused
// without being waited on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Status.h"

// Filled by RunConversion (convert/ConversionRun.h).
struct ConversionLogEntry {
    std::string input;                                   // input path, absolute
    std::string output;                                  // Sample List path
    std::string msMethod, inletMethod, macro, dataFile;  // the four names
    std::int64_t records = 0, sampleLines = 0, skippedLines = 0;
    std::int64_t warnings = 0;  // every warning, notices included
    bool created = false;       // the list was created
    std::string reason;         // why not, empty when created
};

// The log file's path from the environment: $XDG_STATE_HOME/korr2ld/
// conversions.log, or, when XDG_STATE_HOME is unset, empty or not absolute,
// $HOME/.local/state/korr2ld/conversions.log. A failure when neither
// XDG_STATE_HOME nor HOME gives one (HOME unset, empty or not absolute).
Result<std::string> ConversionLogPath();

// Appends one line for ENTRY to the log at ConversionLogPath(): UTC time,
// user name (of the real uid, else $USER, else the uid number), input path
// and the SHA-256 of the input's bytes as they are now ("-" when it cannot
// be read), output path, the four names, the counts, the number of warnings
// and the result ("created" or "failed") with its reason. Missing folders
// are created with mode 0700, the log with mode 0600.
//
// The line is written under an exclusive flock of the log, so lines of
// processes logging at once never interleave, whatever their length. The
// lock is waited for at most 2 s; then the line is not written and the
// status says "The conversion log <path> was locked by another process for
// 2 s; the entry for this conversion was not written." A line that could be
// written only in part is cut off again.
//
// On failure, the status's message is one sentence naming the log file and
// the system's reason. Never throws.
Status AppendConversionLog(const ConversionLogEntry& entry) noexcept;

// The same, to the log file at PATH (its folder is created when missing).
Status AppendConversionLogTo(const std::string& path, const ConversionLogEntry& entry) noexcept;

// The longest line the reader keeps. A conversion log line is far shorter
// (paths of a few KiB at most); a longer line is no conversion log line, and
// only its length is kept, so that reading a log takes bounded memory
// whatever it holds.
inline constexpr std::size_t kMaxConversionLogLine = 256 * 1024;

struct ConversionLogTail {
    struct Line {
        std::string text;          // still escaped, without its line feed; empty when overlong
        std::uint64_t length = 0;  // in bytes; above kMaxConversionLogLine the text is not kept

        bool IsOverlong() const { return length > kMaxConversionLogLine; }
    };
    std::vector<Line> lines;  // oldest first
    bool missing = false;     // there is no log file (nothing logged yet)
    Status status;            // failed (with a sentence) when the log cannot be read
    std::string note;         // a clause to show beside the lines: the log was read unlocked
};

// The last COUNT lines of the log at PATH (all when fewer), oldest first;
// empty lines are skipped. The log must be a regular file (anything else is
// refused without blocking). Reads backwards from the end, so a big log is
// not read whole, in memory bounded by COUNT times kMaxConversionLogLine,
// under a shared flock, so no line is seen half written. The lock is waited
// for at most 2 s; then the log is read all the same, and NOTE says so.
ConversionLogTail ReadConversionLogTail(const std::string& path, std::size_t count);
