#include "util/TsvField.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(TsvField, EscapeRoundTripsEveryByte) {
    std::string all;
    for (int value = 0; value < 256; ++value) {
        all += static_cast<char>(value);
    }
    const std::string samples[] = {"",   "plain", "a\tb\nc\rd\\e", "\\t is not a tab",
                                   "\\", all,     "ends with \\"};
    for (const std::string& text : samples) {
        const std::string escaped = EscapeTsvField(text);
        EXPECT_EQ(escaped.find_first_of("\t\n\r"), std::string::npos) << escaped;
        EXPECT_EQ(UnescapeTsvField(escaped), text) << escaped;
    }
    EXPECT_EQ(EscapeTsvField("a\tb\nc\rd\\e"), "a\\tb\\nc\\rd\\\\e");
}

TEST(TsvField, UnescapeRefusesWhatEscapeNeverWrites) {
    for (const std::string field : {"\\", "a\\x41", "\\N", "a\tb", "a\nb", "a\rb"}) {
        EXPECT_EQ(UnescapeTsvField(field), std::nullopt) << field;
    }
}

TEST(TsvField, SplitGivesOneFieldMoreThanTabs) {
    const struct {
        std::string line;
        std::vector<std::string_view> fields;
    } cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\tb", {"a", "b"}},
        {"\t\t", {"", "", ""}},
        {"x\\t\ty", {"x\\t", "y"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitTsvLine(c.line), c.fields) << c.line;
    }
}

}  // namespace
