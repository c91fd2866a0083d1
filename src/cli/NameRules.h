// How `convert` applies the name rule (util/NameRule.h) to the four names a
// user gives (MS method, inlet method, macro, data file) as options: with
// the dialog's limits, at most 8 printable ASCII characters
// (kNameField), and a message that names the option to give.
#pragma once

#include <string>
#include <string_view>

#include "framework/Status.h"

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
