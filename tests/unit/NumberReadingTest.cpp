#include "settings/NumberReading.h"

#include <gtest/gtest.h>

TEST(NumberReading, ValReadsTheNumberAtTheStart) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0", 0},       {"7", 7},         {"-1", -1},        {"+3", 3},        {"007", 7},
        {" 1 2 ", 12},  {"\t4\n2", 42},   {"- 3", -3},       {"7abc", 7},      {"1.5", 1.5},
        {".5", 0.5},    {"1.2.3", 1.2},   {"1e3", 1000},     {"1D2", 100},     {"2.5E-1", 0.25},
        {"1e", 1},      {"1e+", 1},       {"&H10", 16},      {"&hff", 255},    {"&HFFFF", -1},
        {"&H10000", 65536}, {"&O17", 15}, {"&O8", 0},        {"&", 0},         {"", 0},
        {"abc", 0},     {".", 0},         {"-", 0},          {"1,5", 1},       {"4575", 4575},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(numbers::Val(c.text), c.value) << c.text;
}

TEST(NumberReading, WholeNumbersRoundHalvesToEvenAndStayInSixteenBits) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"1.5", 2}, {"2.5", 2},  {"0.5", 0},       {"-1.5", -2},     {"3.49", 3},   {"7", 7},
        {"-1", -1}, {"007", 7},  {"32767", 32767}, {"32768", 32767}, {"99999", 32767},
        {"-32768", -32768}, {"-40000", -32768},    {"1e300", 32767}, {"1e999", 32767}, {"x", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(numbers::ValToInt16(c.text), c.value) << c.text;
}
