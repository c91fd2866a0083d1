#include "cli/NameRules.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(CheckName, AcceptsOrSaysWhyAndWhichOptionToGive) {
    const struct {
        std::string value;
        const NameRole& role;
        bool fromTitle;
        const char* refusal;  // "": accepted
    } cases[] = {
        {"", kMSMethodRole, false, ""},
        {"ESI_POS", kMSMethodRole, false, ""},
        {"12345678", kDataFileRole, false, ""},
        {"a b~[]!", kMacroRole, false, ""},
        // A name taken from the title names the option that replaces it.
        {"plate_long", kDataFileRole, true,
         "the data file name 'plate_long' (from the input's title) is longer than 8 characters; "
         "give --data NAME"},
        {"ESI_POS_9", kMSMethodRole, false,
         "the MS method name 'ESI_POS_9' is longer than 8 characters; give --ms NAME with at most "
         "8 printable ASCII characters"},
        {"LC_60MIN_X", kInletMethodRole, false,
         "the inlet method name 'LC_60MIN_X' is longer than 8 characters; give --inlet NAME with "
         "at most 8 printable ASCII characters"},
        // Five characters on screen, six bytes: refused for the bytes, not the
        // length, and shown escaped.
        {"Pl\xC3\xA9te", kMacroRole, false,
         "the macro name 'Pl\\xC3\\xA9te' contains characters other than printable ASCII; give "
         "--macro NAME with at most 8 printable ASCII characters"},
        {"a\tb", kDataFileRole, false,
         "the data file name 'a\\x09b' holds a control character; give --data NAME with at most 8 "
         "printable ASCII characters and no '/' or '\\'"},
        // A separator is told before the length.
        {"../../../x", kDataFileRole, false,
         "the data file name '../../../x' holds '/'; give --data NAME with at most 8 printable "
         "ASCII characters and no '/' or '\\'"},
    };
    for (const auto& c : cases) {
        const Status status = CheckName(c.value, c.role, c.fromTitle);
        EXPECT_EQ(status.ok(), *c.refusal == '\0') << c.value << ": " << status.message();
        EXPECT_EQ(status.message(), c.refusal) << c.value;
    }
}

}  // namespace
