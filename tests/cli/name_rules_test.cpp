#include "cli/NameRules.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckName, AcceptsUpToEightPrintableAsciiCharactersAndEmpty) {
    EXPECT_FALSE(CheckName("", kMSMethodRole, false));
    EXPECT_FALSE(CheckName("ESI_POS", kMSMethodRole, false));
    EXPECT_FALSE(CheckName("12345678", kDataFileRole, false));
    EXPECT_FALSE(CheckName("a b~[]!", kMacroRole, false));
}

TEST(CheckName, RefusesANineCharacterTitleAndNamesTheOption) {
    const auto problem = CheckName("plate_long", kDataFileRole, true);
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem,
              "the data file name 'plate_long' (from the input's title) is longer than 8 "
              "characters; give --data NAME");
}

TEST(CheckName, RefusesLongGivenNamesWithTheirOwnOption) {
    const auto ms = CheckName("ESI_POS_9", kMSMethodRole, false);
    ASSERT_TRUE(ms);
    EXPECT_NE(ms->find("the MS method name 'ESI_POS_9' is longer than 8 characters"),
              std::string::npos);
    EXPECT_NE(ms->find("give --ms NAME"), std::string::npos);
    const auto inlet = CheckName("LC_60MIN_X", kInletMethodRole, false);
    ASSERT_TRUE(inlet);
    EXPECT_NE(inlet->find("give --inlet NAME"), std::string::npos);
}

TEST(CheckName, RefusesNonAsciiAndControlBytesAndShowsThemEscaped) {
    // Five characters on screen, six bytes: refused for the bytes, not the length.
    const auto accented = CheckName("Pl\xC3\xA9te", kMacroRole, false);
    ASSERT_TRUE(accented);
    EXPECT_NE(accented->find("'Pl\\xC3\\xA9te'"), std::string::npos);
    EXPECT_NE(accented->find("printable ASCII"), std::string::npos);
    EXPECT_NE(accented->find("--macro"), std::string::npos);
    EXPECT_TRUE(CheckName("a\tb", kDataFileRole, false));
    EXPECT_TRUE(CheckName("del\x7F", kDataFileRole, false));
}

TEST(CheckName, ASeparatorIsToldBeforeTheLength) {
    const auto problem = CheckName("../../../x", kDataFileRole, false);
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem,
              "the data file name '../../../x' holds '/'; give --data NAME with at most 8 "
              "printable ASCII characters and no '/' or '\\'");
}

}  // namespace
