#include "cli/TextEscape.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// Every byte value from 1 to 255, the bytes a record field can hold.
std::string AllFieldBytes() {
    std::string bytes;
    for (int value = 1; value < 256; ++value) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

TEST(Escape, GivesTheEscapedText) {
    const struct {
        std::string (*escape)(std::string_view);
        std::string text;
        std::string escaped;
    } cases[] = {
        // The table keeps printable ASCII and escapes everything else.
        {EscapeForTable, "RUN12001 [ESI_POS]", "RUN12001 [ESI_POS]"},
        {EscapeForTable, "a\tb\nc\x7F", "a\\x09b\\x0Ac\\x7F"},
        {EscapeForTable, "\xC3\xA9\xFF\x80", "\\xC3\\xA9\\xFF\\x80"},
        // A backslash is doubled so that a literal "\x41" cannot pass for an escape.
        {EscapeForTable, "\\x41", "\\\\x41"},
        // TSV escapes the separator, line ends and backslash only.
        {EscapeForTsv, "a\tb\nc\rd\\e", "a\\tb\\nc\\rd\\\\e"},
        {EscapeForTsv, "x,\"y\" \x01\xFF", "x,\"y\" \x01\xFF"},
        // CSV quotes only the fields that need it.
        {QuoteForCsv, "plain text", "plain text"},
        {QuoteForCsv, "", ""},
        {QuoteForCsv, "1.50, 2.00", "\"1.50, 2.00\""},
        {QuoteForCsv, "say \"hi\"", "\"say \"\"hi\"\"\""},
        {QuoteForCsv, "two\nlines", "\"two\nlines\""},
        {QuoteForCsv, "cr\r", "\"cr\r\""},
        {QuoteForCsv, "tab\tand\xFF", "tab\tand\xFF"},
        // JSON escapes quotes, backslash and controls.
        {QuoteForJson, "", "\"\""},
        {QuoteForJson, "[RUN12002]", "\"[RUN12002]\""},
        {QuoteForJson, "a\"b\\c", "\"a\\\"b\\\\c\""},
        {QuoteForJson, "\n\r\t\x01\x1F\x7F", "\"\\n\\r\\t\\u0001\\u001F\\u007F\""},
        // Every high byte is the code point of the same value: valid UTF-8 (e
        // acute) is escaped byte by byte like any other high byte.
        {QuoteForJson, "\xC3\xA9", "\"\\u00C3\\u00A9\""},
        {QuoteForJson, "\xFF\x80", "\"\\u00FF\\u0080\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.escape(c.text), c.escaped) << c.text;
    }
}

// What each escape leaves of any field: the table printable ASCII, TSV no
// separator or line end, JSON no high byte.
TEST(EscapeAnyField, LeavesOnlyWhatItsFormatAllows) {
    for (const char c : EscapeForTable(AllFieldBytes())) {
        const auto byte = static_cast<unsigned char>(c);
        ASSERT_TRUE(byte >= 0x20 && byte < 0x7F) << int(byte);
    }
    EXPECT_EQ(EscapeForTsv(AllFieldBytes()).find_first_of("\t\n\r"), std::string::npos);
    for (const char c : QuoteForJson(AllFieldBytes())) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    }
}

}  // namespace
