#include "util/NameRule.h"

#include <string>

#include <gtest/gtest.h>

TEST(FindNameFault, TellsTheFirstFaultInTheRulesOrderOrNothing) {
    constexpr NameLimits kFour{4, true};
    const struct {
        std::string name;
        NameLimits limits;
        NameFault fault;
        const char* text;
    } cases[] = {
        {"", kPlainName, NameFault::kNone, ""},
        {"a b.~[]!", kPlainName, NameFault::kNone, ""},
        {"Pl\xC3\xA9te", kPlainName, NameFault::kNone, ""},
        {"../..", kPlainName, NameFault::kSlash, "holds '/'"},
        {"a\\b/c", kPlainName, NameFault::kBackslash, "holds '\\'"},
        {"a\tb", kPlainName, NameFault::kControl, "holds a control character"},
        {"del\x7F", kPlainName, NameFault::kControl, "holds a control character"},
        {std::string("\0/", 2), kPlainName, NameFault::kControl, "holds a control character"},
        // A separator is told before the length, the length before the bytes.
        {"abcd", kFour, NameFault::kNone, ""},
        {"abc/efgh", kFour, NameFault::kSlash, "holds '/'"},
        {"Pl\xC3\xA9te", kFour, NameFault::kTooLong, "is longer than 4 characters"},
        {"Pl\xC3\xA9", kFour, NameFault::kNotPrintableAscii,
         "contains characters other than printable ASCII"},
        {"ESI_POS_9", kNameField, NameFault::kTooLong, "is longer than 8 characters"},
    };
    for (const auto& c : cases) {
        const NameFault fault = FindNameFault(c.name, c.limits);
        EXPECT_EQ(fault, c.fault) << c.name;
        EXPECT_EQ(NameFaultText(fault, c.limits), c.text) << c.name;
    }
}
