#include "util/PlainName.h"

#include <string>

#include <gtest/gtest.h>

TEST(CheckPlainName, TellsTheFirstOffendingByteOrNothing) {
    const struct {
        std::string name;
        const char* problem;  // nullptr: plain
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
        const Status plain = CheckPlainName(c.name);
        EXPECT_EQ(plain.ok(), c.problem == nullptr) << c.name;
        EXPECT_EQ(plain.message(), c.problem == nullptr ? "" : c.problem) << c.name;
    }
}
