#include "util/PlainName.h"

#include <string>

#include <gtest/gtest.h>

TEST(PlainNameProblem, TellsTheFirstOffendingByteOrNothing) {
    const struct {
        std::string name;
        const char* problem;
    } cases[] = {
        {"", nullptr},
        {"a b.~[]!", nullptr},
        {"Pl\xC3\xA9te", nullptr},
        {"../..", "holds '/'"},
        {"a\\b/c", "holds '\\'"},
        {"a\tb", "holds a control character"},
        {"del\x7F", "holds a control character"},
        {std::string("\0/", 2), "holds a control character"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(PlainNameProblem(c.name), c.problem) << c.name;
    }
}
