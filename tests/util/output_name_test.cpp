#include "util/OutputName.h"

#include <string>

#include <gtest/gtest.h>

#include "framework/PathParts.h"

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
        // On Windows '\\' separates, so the title is the name after it.
        const std::string title = kNativeSeparators == PathSeparators::kBoth
                                      ? c.title.substr(c.title.find_last_of('\\') + 1)
                                      : c.title;
        EXPECT_EQ(InputTitle(c.input), title) << c.input;
        EXPECT_EQ(CheckDerivedTitle(InputTitle(c.input)).ok(), c.derivable || title != c.title)
            << c.input;
    }
    EXPECT_TRUE(CheckOutputText("/lists/a b~.sdb").ok());
    EXPECT_FALSE(CheckOutputText("/lists/a\nb.sdb").ok());
    EXPECT_FALSE(CheckOutputText("/lists/a\x7F.sdb").ok());
}
