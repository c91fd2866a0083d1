#include "source/NumericText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

TEST(NumericTextDecimal, LongestDecimalPrefix) {
    struct Case {
        std::string text;
        double value;
    };
    const std::vector<Case> cases = {
        {"", 0.0},         {"abc", 0.0},       {" \t\v\f\r\n7.5abc", 7.5},
        {"+3.5e1x", 35.0}, {"-.5e-1", -0.05},  {"1.", 1.0},
        {".5", 0.5},       {".", 0.0},         {"-", 0.0},
        {"+.e1", 0.0},     {"1e", 1.0},        {"1e+", 1.0},
        {"2E3", 2000.0},   {"1.5.6", 1.5},     {"0x1A", 0.0},
        {"inf", 0.0},      {"-Infinity", 0.0}, {"nan", 0.0},
        {"Info", 0.0},     {"1,5", 1.0},       {"007", 7.0},
        {"1 2", 1.0},      {"- 1", 0.0},       {"e5", 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecimalValue(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumericTextDecimal, AgreesWithStrtodOnDecimalText) {
    // The test process runs in the "C" locale, where strtod is the reference.
    const std::vector<std::string> texts = {
        "0.1",
        "123456789012345678901234567890",
        "3.14159265358979323846264338327950288",
        "2.2250738585072011e-308",
        "4.9e-324",
        "1e-400",
        "-1e-400",
        "1.7976931348623157e308",
        "1e400",
        "-1e400",
        "9007199254740993",
        "0.000000000000000000000000000000000000000000001",
        "1e-50",
    };
    for (const std::string& text : texts) {
        const double expected = std::strtod(text.c_str(), nullptr);
        const double actual = DecimalValue(text);
        EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << text;
        EXPECT_EQ(actual, expected) << text;
    }
}

TEST(NumericTextInteger, AtoiRulesClampedToRange) {
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::string text;
        std::int32_t value;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"x1", 0},
        {" \t42abc", 42},
        {"+7", 7},
        {"-7", -7},
        {"3:7", 3},
        {"1.9", 1},
        {"- 1", 0},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"99999999999999999999999999", kMax},
        {"-99999999999999999999999999", kMin},
        {"0000000000000000000000000012", 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntegerValue(c.text), c.value) << '"' << c.text << '"';
    }
}
