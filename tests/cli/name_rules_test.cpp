#include "cli/NameRules.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckName, AcceptsUpToEightPrintableAsciiCharactersAndEmpty) {
    EXPECT_TRUE(CheckName("", kMSMethodRole, false).ok());
    EXPECT_TRUE(CheckName("ESI_POS", kMSMethodRole, false).ok());
    EXPECT_TRUE(CheckName("12345678", kDataFileRole, false).ok());
    EXPECT_TRUE(CheckName("a b~[]!", kMacroRole, false).ok());
}

TEST(CheckName, RefusesANineCharacterTitleAndNamesTheOption) {
    const Status problem = CheckName("plate_long", kDataFileRole, true);
    ASSERT_FALSE(problem.ok());
    EXPECT_EQ(problem.message(),
              "the data file name 'plate_long' (from the input's title) is longer than 8 "
              "characters; give --data NAME");
}

TEST(CheckName, RefusesLongGivenNamesWithTheirOwnOption) {
    const Status ms = CheckName("ESI_POS_9", kMSMethodRole, false);
    ASSERT_FALSE(ms.ok());
    EXPECT_NE(ms.message().find("the MS method name 'ESI_POS_9' is longer than 8 characters"),
              std::string::npos);
    EXPECT_NE(ms.message().find("give --ms NAME"), std::string::npos);
    const Status inlet = CheckName("LC_60MIN_X", kInletMethodRole, false);
    ASSERT_FALSE(inlet.ok());
    EXPECT_NE(inlet.message().find("give --inlet NAME"), std::string::npos);
}

TEST(CheckName, RefusesNonAsciiAndControlBytesAndShowsThemEscaped) {
    // Five characters on screen, six bytes: refused for the bytes, not the length.
    const Status accented = CheckName("Pl\xC3\xA9te", kMacroRole, false);
    ASSERT_FALSE(accented.ok());
    EXPECT_NE(accented.message().find("'Pl\\xC3\\xA9te'"), std::string::npos);
    EXPECT_NE(accented.message().find("printable ASCII"), std::string::npos);
    EXPECT_NE(accented.message().find("--macro"), std::string::npos);
    EXPECT_FALSE(CheckName("a\tb", kDataFileRole, false).ok());
    EXPECT_FALSE(CheckName("del\x7F", kDataFileRole, false).ok());
}

TEST(CheckName, ASeparatorIsToldBeforeTheLength) {
    const Status problem = CheckName("../../../x", kDataFileRole, false);
    ASSERT_FALSE(problem.ok());
    EXPECT_EQ(problem.message(),
              "the data file name '../../../x' holds '/'; give --data NAME with at most 8 "
              "printable ASCII characters and no '/' or '\\'");
}

}  // namespace
