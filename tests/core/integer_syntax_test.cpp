#include "core/integer_syntax.h"
#include "core/typed_number.h"

#include <gtest/gtest.h>

using tamo::parseInteger;
using tamo::readInteger;

TEST(IntegerSyntax, DecimalWithOptionalSign)
{
    EXPECT_EQ(parseInteger("101268"), 101268);
    EXPECT_EQ(parseInteger("-40"), -40);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("0"), 0);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), INT32_MIN);
}

TEST(IntegerSyntax, HexadecimalPrefixes)
{
    EXPECT_EQ(parseInteger("$18B94"), 0x18B94);
    EXPECT_EQ(parseInteger("0x18B94"), 0x18B94);
    EXPECT_EQ(parseInteger("0X18b94"), 0x18B94);
    EXPECT_EQ(parseInteger("$1F"), 31);
    EXPECT_EQ(parseInteger("0x1"), 1);
    EXPECT_EQ(parseInteger("-$10"), -16);
    // Eight hex digits are a 32-bit pattern.
    EXPECT_EQ(parseInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(parseInteger("0x80000000"), INT32_MIN);
}

TEST(IntegerSyntax, TextThatIsNoNumberGivesTheDefault)
{
    for (const char *text : {"", "0x", "0X", "$", "-", "+", "abc", "12a", "1.5", " 5", "5 ", "0x 1",
                             "$G", "2147483648", "-2147483649", "$100000000", "--1", "x10"}) {
        EXPECT_EQ(parseInteger(text), std::nullopt) << text;
        EXPECT_EQ(readInteger(text, 0x38BFF9), 0x38BFF9) << text;
    }
}

TEST(IntegerSyntax, ADigitRunReadsUpToItsLimitAndNothingButDigits)
{
    EXPECT_EQ(tamo::parseDigitRun("c0Ff", 16, 0xFFFF), 0xC0FF);
    EXPECT_EQ(tamo::parseDigitRun("0000FFFF", 16, 0xFFFF), 0xFFFF) << "leading zeros count for nothing";
    EXPECT_EQ(tamo::parseDigitRun("10000", 16, 0xFFFF), std::nullopt);
    EXPECT_EQ(tamo::parseDigitRun("65535", 10, 65535), 65535);
    EXPECT_EQ(tamo::parseDigitRun("65536", 10, 65535), std::nullopt);
    for (const char *text : {"", "A", "+1", "-1", "1 "})
        EXPECT_EQ(tamo::parseDigitRun(text, 10, 99), std::nullopt) << text;
    for (const char *text : {"", "G", "$1", "0x1", " 1"})
        EXPECT_EQ(tamo::parseDigitRun(text, 16, 0xFFFF), std::nullopt) << text;
}

TEST(TypedInteger, BlanksAroundTheNumberDoNotCountButTheSyntaxStays)
{
    EXPECT_EQ(tamo::parseTypedInteger(" 40"), 40);
    EXPECT_EQ(tamo::parseTypedInteger("0x9101 "), 0x9101);
    EXPECT_EQ(tamo::parseTypedInteger("\t-$10\r\n"), -16);
    for (const char *text : {"", "   ", "4 0", "- 1", "0x 1", " abc ", " 0x "})
        EXPECT_EQ(tamo::parseTypedInteger(text), std::nullopt) << text;
}

TEST(IntegerSyntax, HexText)
{
    EXPECT_EQ(tamo::hexText(0x1A, 2), "1A");
    EXPECT_EQ(tamo::hexText(0x1, 2), "01");
    EXPECT_EQ(tamo::hexText(0x123, 2), "123");
    EXPECT_EQ(tamo::hexText(26, 4), "001A");
    EXPECT_EQ(tamo::hexText(0x12345, 4), "12345");
    EXPECT_EQ(tamo::hexText(static_cast<uint32_t>(-1), 4), "FFFFFFFF");
    EXPECT_EQ(tamo::hexText(0, 0), "0");
    EXPECT_EQ(tamo::hexText(0, 6), "000000");
    EXPECT_EQ(tamo::hexText(0xABCDEF, 0), "ABCDEF");
    EXPECT_EQ(tamo::hexText(0x10039801C, 6), "10039801C");
    EXPECT_EQ(tamo::hexText(UINT64_MAX, 4), "FFFFFFFFFFFFFFFF");
}
