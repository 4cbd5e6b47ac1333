// Damaged tables: clear errors naming the table, never a crash; a damaged
// value reads as NULL and the administrator's check names it. Also the
// console tool's statement mode.
#include "datastore/sql/database.h"
#include "enginefixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>

using namespace sqlstore;
using enginetest::quoted;

namespace {

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.path() + "/AlteActe.dbf";
        database().exec("CREATE TABLE " + quoted(path) + " (IDA DECIMAL(10,0), DATAA DATE, TIPACT CHAR(20))");
        for (int i = 1; i <= 3; ++i)
            database().exec("INSERT INTO " + quoted(path) + " VALUES (?, ?, ?)", {i, QDate(2024, 1, i), "Act"});
    }
    QByteArray bytes() const
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    void rewrite(const QByteArray &b) const
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(b);
    }
    testsupport::TempFolder dir;
    QString path;
};

TEST_F(BadInputTest, DamagedStructureGivesAnErrorNamingTheTable)
{
    const QByteArray sound = bytes();
    struct Case {
        const char *what;
        std::function<QByteArray(QByteArray)> damage;
    };
    const Case cases[] = {
        {"empty file", [](QByteArray) { return QByteArray(); }},
        {"truncated rows", [](QByteArray b) { return b.left(b.size() - 30); }},
        {"truncated header", [](QByteArray b) { return b.left(40); }},
        {"absurd header length", [](QByteArray b) { b[8] = char(0xF0); b[9] = char(0xFF); return b; }},
        {"absurd record length", [](QByteArray b) { b[10] = char(0xFF); b[11] = char(0xFF); return b; }},
        {"fields do not match the record", [](QByteArray b) { b[10] = char(b[10] + 4); return b; }},
        {"absurd row count", [](QByteArray b) { b[7] = char(0x7F); return b; }},
        {"not a table", [](QByteArray b) { return QByteArray(b.size(), 'Z'); }},
    };
    for (const Case &c : cases) {
        rewrite(c.damage(sound));
        try {
            database().query("SELECT * FROM " + quoted(path));
            ADD_FAILURE() << c.what << ": no error";
        } catch (const SqlError &e) {
            EXPECT_TRUE(e.message().contains("AlteActe.dbf")) << c.what << ": " << e.message().toStdString();
        }
        QByteArray out;
        EXPECT_EQ(testsupport::runProgram(testsupport::binary("arvena3-sql"), {"--check", dir.path()}, &out), 1)
            << c.what;
    }
    // Once repaired, the same process reads it again.
    rewrite(sound);
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + quoted(path)).toInt(), 3);
}

TEST_F(BadInputTest, DamagedValueReadsAsNullAndTheCheckNamesIt)
{
    QByteArray b = bytes();
    const int headerLength = quint8(b[8]) | quint8(b[9]) << 8;
    const int recordLength = quint8(b[10]) | quint8(b[11]) << 8;
    char *second = b.data() + headerLength + recordLength;
    std::memcpy(second + 1, "  12a.x   ", 10);  // IDA of row 2
    std::memcpy(second + 11, "2024AB01", 8);   // DATAA of row 2
    rewrite(b);
    Query q = database().query("SELECT IDA, DATAA, TIPACT FROM " + quoted(path));
    ASSERT_EQ(q.rowCount(), 3);
    EXPECT_TRUE(q.valueAt(1, 0).isNull());
    EXPECT_TRUE(q.valueAt(1, 1).isNull());
    EXPECT_EQ(q.valueAt(1, 2).toString(), "Act");
    EXPECT_EQ(q.valueAt(2, 0).toInt(), 3);

    QByteArray out, err;
    EXPECT_EQ(testsupport::runProgram(testsupport::binary("arvena3-sql"), {"--check", dir.path()}, &out, &err), 1);
    EXPECT_TRUE(out.contains("randul 2, campul IDA")) << out.toStdString();
    EXPECT_TRUE(out.contains("randul 2, campul DATAA")) << out.toStdString();
    EXPECT_FALSE(out.contains("randul 1")) << out.toStdString();
}

TEST_F(BadInputTest, ConsoleRunsStatementsWithBareNames)
{
    const QString tool = testsupport::binary("arvena3-sql");
    QByteArray out, err;
    ASSERT_EQ(testsupport::runProgram(tool, {"--data", dir.path(), "UPDATE AlteActe SET TIPACT='Notificare, ţară' WHERE IDA=2"},
                                      &out, &err),
              0)
        << err.toStdString();
    ASSERT_EQ(testsupport::runProgram(tool, {"--data", dir.path(), "SELECT IDA, DATAA, TIPACT FROM alteacte ORDER BY IDA DESC"},
                                      &out, &err),
              0)
        << err.toStdString();
    EXPECT_EQ(QString::fromUtf8(out), QString::fromUtf8("IDA,DATAA,TIPACT\n3,2024-01-03,Act\n2,2024-01-02,\"Notificare, ţară\"\n"
                                                       "1,2024-01-01,Act\n"));
    ASSERT_EQ(testsupport::runProgram(tool, {"--check", dir.path()}, &out, &err), 0);
    // Errors: one line on stderr, a failing status.
    EXPECT_EQ(testsupport::runProgram(tool, {"--data", dir.path(), "SELECT NOPE FROM AlteActe"}, &out, &err), 1);
    EXPECT_EQ(err.trimmed().count('\n'), 0);
    EXPECT_TRUE(err.contains("NOPE")) << err.toStdString();
    EXPECT_NE(testsupport::runProgram(tool, {"--data"}, &out, &err), 0);
}

} // namespace
