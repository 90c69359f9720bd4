// The one hexadecimal writer: widths, upper case, what is cut off and what is kept.
#include "common/hex_text.h"

#include <gtest/gtest.h>

TEST(HexText, NumbersArePaddedUpperCaseAndMaskedToTheirWidth)
{
    struct Case {
        QString got;
        const char *want;
    };
    const Case cases[] = {
        {HexByte(0x0A), "0A"},
        {HexByte(0x1FF), "FF"},          // only the low byte
        {HexWord(0xA), "000A"},
        {HexWord(0x12345), "2345"},      // only the low 16 bits
        {Hex32(0x180A2B3), "0180A2B3"},
        {Hex32(0xFFFFFFFFu), "FFFFFFFF"},
        {HexId(0), "0x00000000"},
        {HexId(0xdeadbeef), "0xDEADBEEF"}, // the prefix stays lower case
        {HexDigits(0x3, 4), "0003"},
        {HexDigits(0x12345, 4), "12345"}, // a script position past 64 KiB keeps its digits
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.got, QString::fromLatin1(c.want));
}

TEST(HexText, ByteArraysSpacedAndCompact)
{
    const QByteArray bytes = QByteArray::fromHex("5500070a01ff");
    EXPECT_EQ(HexBytesSpaced(bytes), QStringLiteral(" 55 00 07 0A 01 FF"));
    EXPECT_EQ(HexBytesCompact(bytes), QStringLiteral("5500070A01FF"));
    EXPECT_EQ(HexBytesSpaced({}), QString());
    EXPECT_EQ(HexBytesCompact({}), QString());
}
