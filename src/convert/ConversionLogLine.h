// One line of the conversion log (see docs/conversion-log.md): fifteen
// fields separated by tabs, each escaped as util/TsvField.h says, ended by a
// line feed:
//
//   1 time (UTC, 2026-12-09T04:05:06Z)   2 user   3 input path
//   4 SHA-256 of the input, or "-"       5 Sample List path
//   6 MS method   7 inlet method   8 macro   9 data file name
//   10 records   11 sample lines   12 skipped lines   13 warnings
//   14 result ("created" or "failed")    15 reason (empty when created)
//
// Fields added later go at the end: a reader takes the first fifteen and
// ignores any after them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ConversionLog.h"

inline constexpr std::size_t kConversionLogFields = 15;
inline constexpr const char* kNoInputDigest = "-";

struct ConversionLogRecord {
    std::string time;         // UTC, ISO 8601 with "Z"
    std::string user;         // who converted
    std::string inputSha256;  // 64 lower-case hex digits, or kNoInputDigest
    ConversionLogEntry entry;
};

// The line for RECORD, line feed included.
std::string FormatConversionLogLine(const ConversionLogRecord& record);

// The record that LINE (without its line feed) holds; nothing when LINE is
// not a line of this format (too few fields, a bad escape, a count that is
// not a whole number, a result other than "created" or "failed").
std::optional<ConversionLogRecord> ParseConversionLogLine(std::string_view line);
