#include "cli/TextEscape.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// Every byte value from 1 to 255, the bytes a record field can hold.
std::string AllFieldBytes() {
    std::string bytes;
    for (int value = 1; value < 256; ++value) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

TEST(EscapeForTable, KeepsPrintableAsciiAndEscapesEverythingElse) {
    EXPECT_EQ(EscapeForTable("RUN12001 [ESI_POS]"), "RUN12001 [ESI_POS]");
    EXPECT_EQ(EscapeForTable("a\tb\nc\x7F"), "a\\x09b\\x0Ac\\x7F");
    EXPECT_EQ(EscapeForTable("\xC3\xA9\xFF\x80"), "\\xC3\\xA9\\xFF\\x80");
    // A backslash is doubled so that a literal "\x41" cannot pass for an escape.
    EXPECT_EQ(EscapeForTable("\\x41"), "\\\\x41");
}

TEST(EscapeForTable, ResultIsPrintableAsciiForAnyByte) {
    for (const char c : EscapeForTable(AllFieldBytes())) {
        const auto byte = static_cast<unsigned char>(c);
        ASSERT_TRUE(byte >= 0x20 && byte < 0x7F) << int(byte);
    }
}

TEST(EscapeForTsv, EscapesSeparatorLineEndsAndBackslashOnly) {
    EXPECT_EQ(EscapeForTsv("a\tb\nc\rd\\e"), "a\\tb\\nc\\rd\\\\e");
    EXPECT_EQ(EscapeForTsv("x,\"y\" \x01\xFF"), "x,\"y\" \x01\xFF");
    const std::string escaped = EscapeForTsv(AllFieldBytes());
    EXPECT_EQ(escaped.find_first_of("\t\n\r"), std::string::npos);
}

TEST(QuoteForCsv, QuotesOnlyFieldsThatNeedIt) {
    EXPECT_EQ(QuoteForCsv("plain text"), "plain text");
    EXPECT_EQ(QuoteForCsv(""), "");
    EXPECT_EQ(QuoteForCsv("1.50, 2.00"), "\"1.50, 2.00\"");
    EXPECT_EQ(QuoteForCsv("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(QuoteForCsv("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(QuoteForCsv("cr\r"), "\"cr\r\"");
    EXPECT_EQ(QuoteForCsv("tab\tand\xFF"), "tab\tand\xFF");
}

TEST(QuoteForJson, EscapesQuotesBackslashAndControls) {
    EXPECT_EQ(QuoteForJson(""), "\"\"");
    EXPECT_EQ(QuoteForJson("[RUN12002]"), "\"[RUN12002]\"");
    EXPECT_EQ(QuoteForJson("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(QuoteForJson("\n\r\t\x01\x1F\x7F"), "\"\\n\\r\\t\\u0001\\u001F\\u007F\"");
}

TEST(QuoteForJson, WritesEveryHighByteAsTheCodePointOfTheSameValue) {
    // Valid UTF-8 (e acute) is escaped byte by byte like any other high byte.
    EXPECT_EQ(QuoteForJson("\xC3\xA9"), "\"\\u00C3\\u00A9\"");
    EXPECT_EQ(QuoteForJson("\xFF\x80"), "\"\\u00FF\\u0080\"");
    for (const char c : QuoteForJson(AllFieldBytes())) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    }
}

}  // namespace
