// The rules the conversion dialog applies to the four names a user gives
// (MS method, inlet method, macro, data file), applied to command-line
// options.
//
// - A plain name (util/PlainName.h): no '/', '\\' or control character, as
//   the names become file names on the instrument.
// - At most 8 characters, as the dialog's fields accept.
// - Printable ASCII only. Records hold 8-bit text with no encoding of their
//   own; the dialog takes only ASCII into them, and so does the command
//   line, rather than writing bytes whose meaning depends on the terminal's
//   character set. An empty name is allowed.
//
// A name breaking several rules is told about the first of them in this
// order: a separator says more than the length of the name it is in.
#pragma once

#include <string>
#include <string_view>

#include "framework/Status.h"
#include "util/PlainName.h"

struct NameRole {
    const char* description;  // "MS method name"
    const char* option;       // "--ms"
};

inline constexpr NameRole kMSMethodRole{"MS method name", "--ms"};
inline constexpr NameRole kInletMethodRole{"inlet method name", "--inlet"};
inline constexpr NameRole kMacroRole{"macro name", "--macro"};
inline constexpr NameRole kDataFileRole{"data file name", "--data"};

// Ok when VALUE may be used in ROLE; otherwise a sentence saying what is
// wrong and which option to give, e.g. "the data file name 'plate_long'
// (from the input's title) is longer than 8 characters; give --data NAME",
// "the data file name '../..' holds '/'; give --data NAME with at most 8
// printable ASCII characters and no '/' or '\\'".
// FROM_TITLE says that VALUE was not given but taken from the input's title.
Status CheckName(std::string_view value, const NameRole& role, bool fromTitle);
