// The rule for the names a user gives for the records: the MS method, inlet
// method, macro and data file names. They become file names on the
// instrument (a data file name is the start of every data file's name), so
// they must not reach outside the directory they are meant for, nor hold
// characters that no file name should; and they must fit where they go.
//
// One check, FindNameFault, made by the dialogs' validation, the command line
// and the converter, each with its own limits and its own words. A name
// breaks the rule with the first of these, in this order (a separator says
// more than the length of the name it is in):
//
//   1. it is no plain name: it holds '/', '\\' (a separator on the
//      instrument's own system) or a control character
//      (framework/TextClass.h), told for its first such byte;
//   2. it is longer than the limit's characters;
//   3. where the limits ask for it, it holds a character other than
//      printable ASCII: records hold 8-bit text with no encoding of their
//      own, so only ASCII means the same to every reader of a record.
//
// The empty name keeps the rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The most characters a name field of the dialogs takes, and so the most a
// name given on the command line may have.
inline constexpr int kMaxNameChars = 8;

struct NameLimits {
    std::size_t maxChars = SIZE_MAX;
    bool printableAsciiOnly = false;
};

// A plain name, of any length and any bytes but the ones above.
inline constexpr NameLimits kPlainName{};
// A name field of the dialogs, a name option of the command line.
inline constexpr NameLimits kNameField{static_cast<std::size_t>(kMaxNameChars), true};

enum class NameFault { kNone, kSlash, kBackslash, kControl, kTooLong, kNotPrintableAscii };

// The first way NAME breaks the rule under LIMITS; kNone when it keeps it.
NameFault FindNameFault(std::string_view name, const NameLimits& limits);

// TRUE for the faults of step 1: the name is no plain name.
bool IsPlainNameFault(NameFault fault);

// FAULT as the end of a sentence whose subject is the name: "holds '/'",
// "holds '\\'", "holds a control character", "is longer than 8
// characters" (LIMITS' number), "contains characters other than printable
// ASCII"; empty for kNone.
std::string NameFaultText(NameFault fault, const NameLimits& limits);
