#include "admin/codeazastr.h"
#include "testsupport.h"

#include <gtest/gtest.h>

TEST(CodeazaStr, EncodesAbcToTheStoredBytes)
{
    const int decimal[] = {72, 149, 96, 44, 115, 72, 97, 65, 60, 92, 147, 112, 141, 98, 107, 99};
    QByteArray expected;
    for (int b : decimal)
        expected.append(static_cast<char>(b));
    EXPECT_EQ(CodeazaStr("abc"), expected);
}

TEST(CodeazaStr, OneBytePasswordsKeepTheirByteLast)
{
    for (int b = 1; b < 256; ++b) {
        const QByteArray password(1, static_cast<char>(b));
        const QByteArray encoded = CodeazaStr(password);
        SCOPED_TRACE(b);
        EXPECT_GE(encoded.size(), 8);
        EXPECT_LE(encoded.size(), 37);
        EXPECT_EQ(encoded.back(), password.back());
    }
}

TEST(CodeazaStr, FillerBytesStayInTheirRange)
{
    // Every byte that is not the password's own comes from 32..181.
    const QByteArray encoded = CodeazaStr("x");
    for (qsizetype n = 0; n + 1 < encoded.size(); ++n) {
        const int b = static_cast<unsigned char>(encoded[n]);
        EXPECT_TRUE((b >= 32 && b <= 181) || b == 'x') << b;
    }
}

TEST(CodeazaStr, IsDeterministicAndCaseSensitive)
{
    EXPECT_EQ(CodeazaStr("Parola1"), CodeazaStr("Parola1"));
    EXPECT_NE(CodeazaStr("Parola1"), CodeazaStr("parola1"));
    EXPECT_NE(CodeazaStr("ab"), CodeazaStr("ba"));
    EXPECT_TRUE(CodeazaStr("").isEmpty());
}
