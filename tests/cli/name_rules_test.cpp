#include "cli/NameRules.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* name;
    std::string value;
    const NameRole& role;
    bool fromTitle;
    const char* refusal;  // nullptr: accepted
};

constexpr const char* kAccepted = nullptr;

const NameCase kCases[] = {
    {"Empty", "", kMSMethodRole, false, kAccepted},
    {"Plain", "ESI_POS", kMSMethodRole, false, kAccepted},
    {"EightCharacters", "12345678", kDataFileRole, false, kAccepted},
    {"PrintableAscii", "a b~[]!", kMacroRole, false, kAccepted},
    {"NineCharacterTitleNamesTheOption", "plate_long", kDataFileRole, true,
     "the data file name 'plate_long' (from the input's title) is longer than 8 characters; "
     "give --data NAME"},
    {"LongMSMethodNamesItsOption", "ESI_POS_9", kMSMethodRole, false,
     "the MS method name 'ESI_POS_9' is longer than 8 characters; give --ms NAME with at most 8 "
     "printable ASCII characters"},
    {"LongInletMethodNamesItsOption", "LC_60MIN_X", kInletMethodRole, false,
     "the inlet method name 'LC_60MIN_X' is longer than 8 characters; give --inlet NAME with at "
     "most 8 printable ASCII characters"},
    // Five characters on screen, six bytes: refused for the bytes, not the length.
    {"NonAsciiIsShownEscaped", "Pl\xC3\xA9te", kMacroRole, false,
     "the macro name 'Pl\\xC3\\xA9te' contains characters other than printable ASCII; give "
     "--macro NAME with at most 8 printable ASCII characters"},
    {"Tab", "a\tb", kDataFileRole, false,
     "the data file name 'a\\x09b' holds a control character; give --data NAME with at most 8 "
     "printable ASCII characters and no '/' or '\\'"},
    {"Delete", "del\x7F", kDataFileRole, false,
     "the data file name 'del\\x7F' holds a control character; give --data NAME with at most 8 "
     "printable ASCII characters and no '/' or '\\'"},
    {"SeparatorIsToldBeforeTheLength", "../../../x", kDataFileRole, false,
     "the data file name '../../../x' holds '/'; give --data NAME with at most 8 printable "
     "ASCII characters and no '/' or '\\'"},
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

class CheckName : public ::testing::TestWithParam<NameCase> {};

TEST_P(CheckName, AcceptsOrSaysWhyAndWhichOptionToGive) {
    const NameCase& c = GetParam();
    const Status status = ::CheckName(c.value, c.role, c.fromTitle);
    EXPECT_EQ(status.ok(), c.refusal == kAccepted) << status.message();
    EXPECT_EQ(status.message(), c.refusal == kAccepted ? "" : c.refusal);
}

INSTANTIATE_TEST_SUITE_P(Names, CheckName, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<NameCase>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
