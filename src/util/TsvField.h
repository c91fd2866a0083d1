// Fields of tab-separated lines: the escaping that keeps any bytes inside
// one field of one line, and its inverse.
//
// Backslash, tab, line feed and carriage return become "\\", "\t", "\n" and
// "\r"; every other byte passes unchanged. An escaped field thus never holds
// the separator or a line end, and a line of such fields splits on tabs
// (cut -f, awk -F'\t') into the escaped fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::string EscapeTsvField(std::string_view text);

// The bytes that EscapeTsvField turned into FIELD; nothing when FIELD is not
// such an output (a backslash before anything but '\\', 't', 'n', 'r', or at
// the end, or a raw tab or line end).
std::optional<std::string> UnescapeTsvField(std::string_view field);

// LINE cut at every tab, still escaped; one field more than tabs.
std::vector<std::string_view> SplitTsvLine(std::string_view line);
