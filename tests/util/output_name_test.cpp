#include "util/OutputName.h"

#include <string>

#include <gtest/gtest.h>

TEST(InputTitle, IsTheNameAfterTheLastSlashUpToItsLastDotAndKeepsItsFolder) {
    const struct {
        std::string input;
        std::string title;
        bool derivable;  // CheckDerivedTitle
    } cases[] = {
        {"/runs/Plate7.txt", "Plate7", true},
        {"a.b.txt", "a.b", true},
        {".txt", "", true},
        {"x/a\\b/plate", "plate", true},
        {"x/..\\..\\lists\\victim.txt", "..\\..\\lists\\victim", false},
        {"back\\slash.txt", "back\\slash", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InputTitle(c.input), c.title) << c.input;
        EXPECT_EQ(CheckDerivedTitle(InputTitle(c.input)).ok(), c.derivable) << c.input;
    }
    EXPECT_TRUE(CheckOutputText("/lists/a b~.sdb").ok());
    EXPECT_FALSE(CheckOutputText("/lists/a\nb.sdb").ok());
    EXPECT_FALSE(CheckOutputText("/lists/a\x7F.sdb").ok());
}
