// Escaping of record text for the output formats of `show` and `locations`.
//
// Record fields are 8-bit bytes in no particular encoding, and a field may
// hold any byte but zero. Each function below turns such bytes into text
// that its format can carry without ambiguity; none of them transcodes.
#pragma once

#include <string>
#include <string_view>

// For the aligned table, meant for a terminal: printable ASCII stays as it
// is, a backslash becomes "\\", every other byte (controls, DEL, bytes of
// 0x80 and above) becomes "\xNN" with two upper-case hex digits. The result
// is pure printable ASCII, so its length is its width on the screen. The
// rule of util/PrintableEscape.h, which the locations' messages use too.
std::string EscapeForTable(std::string_view text);

// For tab-separated values: backslash, tab, line feed and carriage return
// become "\\", "\t", "\n" and "\r"; every other byte passes unchanged.
// A field thus never contains the separator or a line end. The rule of
// util/TsvField.h, which the conversion log uses too.
std::string EscapeForTsv(std::string_view text);

// For comma-separated values (RFC 4180): a field that holds a comma, a
// double quote, a carriage return or a line feed is enclosed in double
// quotes with its quotes doubled; any other field passes unchanged.
std::string QuoteForCsv(std::string_view text);

// For JSON: a complete string literal, quotes included. Every byte becomes
// the code point of the same value (the bytes read as ISO 8859-1): quote
// and backslash are escaped, controls, DEL and every byte of 0x80 and above
// are written as "\u00NN", so the output is ASCII and valid JSON whatever
// the bytes are. A reader gets the original bytes back by encoding the
// string as ISO 8859-1 (Python: s.encode("latin-1")). Bytes that happen to
// form UTF-8 are escaped byte by byte too: the fields carry no encoding, and
// one rule for every byte keeps the mapping reversible.
std::string QuoteForJson(std::string_view text);
