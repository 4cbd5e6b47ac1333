// The dBASE format layer on bytes: headers, values, code page.
#include "datastore/dbf/codepage.h"
#include "datastore/dbf/dbfformat.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

#include <cstring>

using namespace dbf;

namespace {

QByteArray sampleTable()
{
    QList<Field> fields = {{"ID", 'N', 10, 0, 0}, {"NUME", 'C', 20, 0, 0}, {"DATAC", 'D', 8, 0, 0}};
    QString error;
    QByteArray h = buildHeader(fields, &error);
    EXPECT_FALSE(h.isEmpty()) << error.toStdString();
    return h;
}

TEST(DbfFormat, BuiltHeaderParsesBack)
{
    const QByteArray h = sampleTable();
    Header parsed;
    QString error;
    ASSERT_TRUE(parseHeader(h.constData(), h.size(), h.size(), parsed, &error)) << error.toStdString();
    EXPECT_EQ(parsed.level, 0x03);
    EXPECT_EQ(parsed.recordLength, 39);
    ASSERT_EQ(parsed.fields.size(), 3);
    EXPECT_EQ(parsed.fields[1].name, "NUME");
    EXPECT_EQ(parsed.fields[1].offset, 11);
    EXPECT_EQ(parsed.fields[2].type, 'D');
    EXPECT_EQ(parsed.languageDriver, kLanguageDriver1250);
}

TEST(DbfFormat, DamagedHeadersAreRefusedWithAReason)
{
    struct Case {
        const char *what;
        void (*damage)(QByteArray &);
        qint64 extraSize;
        const char *reasonPart;
    };
    const Case cases[] = {
        {"truncated", [](QByteArray &h) { h.truncate(20); }, 0, "prea putin"},
        {"level", [](QByteArray &h) { h[0] = char(0x47); }, 0, "nivel"},
        {"header length", [](QByteArray &h) { h[8] = char(0xFF); h[9] = char(0x7F); }, 0, "antetului"},
        {"record length", [](QByteArray &h) { h[10] = 0; h[11] = 0; }, 0, "inregistrarii"},
        {"field count", [](QByteArray &h) { h[10] = char(h[10] + 5); }, 0, "nu se potrivesc"},
        {"rows beyond the end", [](QByteArray &h) { h[4] = 100; }, 0, "trunchiat"},
        {"no terminator", [](QByteArray &h) { h[h.size() - 1] = 'X'; }, 0, "nu se incheie"},
    };
    for (const Case &c : cases) {
        QByteArray h = sampleTable();
        c.damage(h);
        Header parsed;
        QString error;
        EXPECT_FALSE(parseHeader(h.constData(), h.size(), h.size() + c.extraSize, parsed, &error)) << c.what;
        EXPECT_TRUE(error.contains(c.reasonPart)) << c.what << ": " << error.toStdString();
    }
}

TEST(DbfFormat, Dbase7DescriptorsAreRead)
{
    // Level 4 header: 68 bytes, then 48-byte descriptors.
    QByteArray h(68 + 48 * 2 + 1, '\0');
    h[0] = 0x04;
    h[8] = char(h.size());
    h[10] = 1 + 10 + 8;
    std::memcpy(h.data() + 68, "NR", 2);
    h[68 + 32] = 'N';
    h[68 + 33] = 10;
    std::memcpy(h.data() + 68 + 48, "DATAA", 5);
    h[68 + 48 + 32] = 'D';
    h[68 + 48 + 33] = 8;
    h[h.size() - 1] = '\r';
    Header parsed;
    QString error;
    ASSERT_TRUE(parseHeader(h.constData(), h.size(), h.size(), parsed, &error)) << error.toStdString();
    ASSERT_EQ(parsed.fields.size(), 2);
    EXPECT_EQ(parsed.fields[0].width, 10);
    EXPECT_EQ(parsed.fields[1].name, "DATAA");
}

TEST(DbfFormat, NumbersAreWrittenWithTheirDecimalsOrFewerWhenNothingIsLost)
{
    struct Case {
        double value;
        int width, decimals;
        const char *expected; // nullptr: does not fit
    };
    const Case cases[] = {
        {12.5, 8, 2, "   12.50"},
        {120000.00, 8, 2, "  120000"},
        {120000.5, 8, 2, "120000.5"},
        {1200000.5, 8, 2, nullptr},
        {123456789, 8, 2, nullptr},
        {-3, 6, 0, "    -3"},
        {-0.001, 6, 2, "  0.00"},
        {2.675, 12, 2, "        2.67"},
    };
    for (const Case &c : cases) {
        char out[32] = {};
        const bool ok = formatNumber(c.value, c.width, c.decimals, out);
        if (!c.expected) {
            EXPECT_FALSE(ok) << c.value;
            continue;
        }
        ASSERT_TRUE(ok) << c.value;
        EXPECT_EQ(std::string(out, size_t(c.width)), c.expected) << c.value;
    }
    char out[16] = {};
    ASSERT_TRUE(formatInteger(120000, 8, 2, out));
    EXPECT_EQ(std::string(out, 8), "  120000");
}

TEST(DbfFormat, ValuesReadBackOrReadAsNullWhenDamaged)
{
    bool isInteger = false;
    qint64 i = 0;
    double d = 0;
    EXPECT_EQ(readNumber("      12", 8, &isInteger, &i, &d), ValueState::Ok);
    EXPECT_TRUE(isInteger);
    EXPECT_EQ(i, 12);
    EXPECT_EQ(readNumber("  -12.50", 8, &isInteger, &i, &d), ValueState::Ok);
    EXPECT_DOUBLE_EQ(d, -12.5);
    EXPECT_EQ(readNumber("        ", 8, &isInteger, &i, &d), ValueState::Null);
    EXPECT_EQ(readNumber("  12a.50", 8, &isInteger, &i, &d), ValueState::Damaged);
    EXPECT_EQ(readNumber("********", 8, &isInteger, &i, &d), ValueState::Damaged);
    int y, m, dd;
    EXPECT_EQ(readDate("20240229", &y, &m, &dd), ValueState::Ok);
    EXPECT_EQ(readDate("20230229", &y, &m, &dd), ValueState::Damaged);
    EXPECT_EQ(readDate("        ", &y, &m, &dd), ValueState::Null);
    EXPECT_EQ(readDate("2024AB01", &y, &m, &dd), ValueState::Damaged);
}

TEST(DbfFormat, DateTextInTheFormsStatementsUse)
{
    struct Case {
        const char *text;
        int y, m, d; // y == 0: refused
    };
    const Case cases[] = {{"2024-02-29", 2024, 2, 29}, {"01.01.2024", 2024, 1, 1}, {"1.2.2024", 2024, 2, 1},
                          {"20240301", 2024, 3, 1},    {"2024-02-30", 0, 0, 0},  {"31.12.24", 0, 0, 0},
                          {"ieri", 0, 0, 0},           {"2024-01-05 10:00:00", 2024, 1, 5}};
    for (const Case &c : cases) {
        int y = 0, m = 0, d = 0;
        const bool ok = parseDateText(c.text, int(std::strlen(c.text)), &y, &m, &d);
        EXPECT_EQ(ok, c.y != 0) << c.text;
        if (ok) {
            EXPECT_EQ(QString("%1-%2-%3").arg(y).arg(m).arg(d), QString("%1-%2-%3").arg(c.y).arg(c.m).arg(c.d));
        }
    }
}

TEST(CodePage, AgreesWithQtAndMapsCommaBelowToCedilla)
{
    QStringDecoder qt("windows-1250");
    for (int b = 0x20; b < 0x100; ++b) {
        const char byte = char(b);
        const QString expected = qt.decode(QByteArrayView(&byte, 1));
        if (expected == QString(QChar::ReplacementCharacter))
            continue;
        EXPECT_EQ(decodeText(&byte, 1), expected) << b;
    }
    QByteArray out;
    ASSERT_TRUE(encodeText(QString::fromUtf8("ăâîşţŞŢ șțȘȚ"), out));
    EXPECT_EQ(decodeText(out.constData(), int(out.size())), QString::fromUtf8("ăâîşţŞŢ şţŞŢ"));
    QString bad;
    out.clear();
    EXPECT_FALSE(encodeText(QString::fromUtf8("Łódź €5 😀"), out, &bad));
    EXPECT_EQ(bad, QString::fromUtf8("😀"));
}

} // namespace
