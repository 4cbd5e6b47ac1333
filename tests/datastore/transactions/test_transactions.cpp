// Transactions in one process: commit, rollback to the byte, a failing
// statement, misuse, recovery of a journal whose writer is gone, and scripts
// of the administrators' console.
#include "datastore/dbf/journal.h"
#include "datastore/dbf/tableops.h"
#include "datastore/sql/sqltext.h"
#include "testsupport.h"
#include "txnfixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace sqlstore;
using txntest::headerCount;
using txntest::journalSize;
using txntest::table;

namespace {

QMap<QString, QByteArray> folderBytes(const QString &dir)
{
    QMap<QString, QByteArray> bytes;
    for (const QString &name : QDir(dir).entryList(QDir::Files)) {
        QFile f(dir + "/" + name);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        bytes[name] = f.readAll();
    }
    return bytes;
}

void copyFolder(const QString &from, const QString &to)
{
    for (const QString &name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(from + "/" + name, to + "/" + name));
}

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        txntest::createTables(dir.path());
        txntest::runRound(dir.path(), 1);
    }
    void TearDown() override
    {
        if (database().inTransaction())
            database().exec("ROLLBACK");
    }

    testsupport::TempFolder dir;
};

TEST_F(TransactionTest, CommitShowsEveryWriteAndEmptiesTheJournal)
{
    txntest::runRound(dir.path(), 2);
    EXPECT_EQ(txntest::lastRound(dir.path()), 2);
    EXPECT_EQ(txntest::disagreement(dir.path()), QString());
    EXPECT_EQ(journalSize(dir.path()), 0);
    EXPECT_FALSE(database().inTransaction());
}

TEST_F(TransactionTest, RollbackPutsBackEveryByte)
{
    // By hand and by an operation left early; the second also after the
    // tables grew, so that the end-of-file mark an append overwrote is back.
    for (const bool byHand : {true, false}) {
        SCOPED_TRACE(byHand ? "ROLLBACK" : "left early");
        const QMap<QString, QByteArray> before = folderBytes(dir.path());
        if (byHand) {
            database().exec("BEGIN");
            database().exec("INSERT INTO " + table(dir.path(), "Cereri") + " (ID) VALUES (77)");
            database().exec("UPDATE " + table(dir.path(), "Stari") + " SET VAL = 77");
            database().exec("DELETE FROM " + table(dir.path(), "Acte") + " WHERE ID < 50");
            database().exec("INSERT INTO " + table(dir.path(), "Cereri") + " (ID) VALUES (78)");
            database().exec("UPDATE " + table(dir.path(), "Stari") + " SET VAL = 78");
            EXPECT_GT(journalSize(dir.path()), 0);
            database().exec("ROLLBACK");
        } else {
            try {
                Transaction operation;
                database().exec("INSERT INTO " + table(dir.path(), "Preemptori") + " (ID) VALUES (77)");
                database().exec("DELETE FROM " + table(dir.path(), "Acte"));
                throw std::runtime_error("the operation stops");
            } catch (const std::runtime_error &) {
            }
        }
        EXPECT_FALSE(database().inTransaction());
        EXPECT_EQ(folderBytes(dir.path()), before);
        EXPECT_EQ(txntest::disagreement(dir.path()), QString());
        txntest::runRound(dir.path(), txntest::lastRound(dir.path()) + 1);
    }
}

TEST_F(TransactionTest, StatementsInsideSeeTheTransactionsOwnWrites)
{
    Transaction operation;
    database().exec("INSERT INTO " + table(dir.path(), "Cereri") + " (ID, NUME) VALUES (5, 'cinci')");
    database().exec("UPDATE " + table(dir.path(), "Cereri") + " SET NUME = NUME || '!' WHERE ID = 5");
    EXPECT_EQ(database().scalar("SELECT NUME FROM " + table(dir.path(), "Cereri") + " WHERE ID = 5").toString(),
              "cinci!");
    operation.commit();
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + table(dir.path(), "Cereri")).toInt(), 2);
}

TEST_F(TransactionTest, ReadsTablesOfAnotherFolderAndHoldsItsOwnFromTheStart)
{
    // The work table of a dialog lives outside the data folder.
    testsupport::TempFolder work;
    const QString scratch = table(work.path(), "Vanzatori");
    database().exec("CREATE TABLE " + scratch + " (ID DECIMAL(10,0), NUME CHAR(40))");
    database().exec("INSERT INTO " + scratch + " (ID, NUME) VALUES (2, 'Ana'), (3, 'Ion')");
    Transaction operation(dir.path());
    EXPECT_EQ(dbf::FolderJournal::active(), dbf::FolderJournal::of(dir.path()).get());
    database().exec("INSERT INTO " + table(dir.path(), "Vanzatori") + " (ID, NUME) SELECT ID, NUME FROM " + scratch);
    operation.commit();
    EXPECT_EQ(dbf::FolderJournal::active(), nullptr);
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + table(dir.path(), "Vanzatori")).toInt(), 3);
    EXPECT_EQ(journalSize(work.path()), 0);
}

TEST_F(TransactionTest, FailingStatementUndoesTheWholeOperationAndReportsItsError)
{
    const QMap<QString, QByteArray> before = folderBytes(dir.path());
    database().exec("BEGIN");
    database().exec("INSERT INTO " + table(dir.path(), "Vanzatori") + " (ID) VALUES (2)");
    database().exec("UPDATE " + table(dir.path(), "Stari") + " SET VAL = 2");
    try {
        database().exec("INSERT INTO " + table(dir.path(), "Cereri") + " (ID) VALUES (?)", {123456789012345LL});
        FAIL() << "a number wider than its field was stored";
    } catch (const SqlError &e) {
        EXPECT_TRUE(e.message().contains("nu incape")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("Cereri")) << e.message().toStdString();
    }
    EXPECT_FALSE(database().inTransaction());
    EXPECT_EQ(folderBytes(dir.path()), before);
    // The connection goes on working, inside and outside transactions.
    txntest::runRound(dir.path(), 2);
    EXPECT_EQ(txntest::disagreement(dir.path()), QString());
}

TEST_F(TransactionTest, MisuseIsRefusedAndUndoesAnOpenTransaction)
{
    testsupport::TempFolder other;
    database().exec("CREATE TABLE " + table(other.path(), "Cereri") + " (ID DECIMAL(10,0))");
    struct Case {
        bool begin;
        QString statement;
        QString said;
    };
    const Case cases[] = {
        {false, "COMMIT", "Nu este deschisa nicio tranzactie"},
        {false, "ROLLBACK", "Nu este deschisa nicio tranzactie"},
        {true, "BEGIN", "deja deschisa"},
        {true, "SAVEPOINT unu", "Punctele intermediare"},
        {true, "CREATE TABLE " + table(dir.path(), "Noua") + " (ID DECIMAL(10,0))", "Structura tabelelor"},
        {true, "INSERT INTO " + table(other.path(), "Cereri") + " (ID) VALUES (1)", "unui singur dosar"},
    };
    const QMap<QString, QByteArray> before = folderBytes(dir.path());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.statement.toStdString());
        if (c.begin) {
            database().exec("BEGIN");
            database().exec("INSERT INTO " + table(dir.path(), "Cereri") + " (ID) VALUES (9)");
        }
        try {
            database().exec(c.statement);
            ADD_FAILURE() << "accepted";
        } catch (const SqlError &e) {
            EXPECT_TRUE(e.message().contains(c.said)) << e.message().toStdString();
        }
        EXPECT_FALSE(database().inTransaction());
        EXPECT_EQ(folderBytes(dir.path()), before);
    }
    EXPECT_FALSE(QFile::exists(dir.path() + "/Noua.dbf"));

    // Rebuilding a table is refused inside a transaction on its folder.
    database().exec("BEGIN");
    database().exec("DELETE FROM " + table(dir.path(), "Acte") + " WHERE ID = 7");
    EXPECT_THROW(dbf::packTable(dir.path() + "/Acte.dbf"), dbf::DbfError);
    database().exec("ROLLBACK");
    EXPECT_EQ(folderBytes(dir.path()), before);
}

TEST_F(TransactionTest, JournalOfAWriterThatIsGoneIsRolledBackOnOpen)
{
    // A copy of the folder taken in the middle of a transaction is what a
    // writer that died there leaves: tables half written, journal full, and
    // nobody holding the folder's lock.
    const QMap<QString, QByteArray> before = folderBytes(dir.path());
    testsupport::TempFolder copy, replaced;
    database().exec("BEGIN");
    database().exec("INSERT INTO " + table(dir.path(), "Preemptori") + " (ID) VALUES (2)");
    database().exec("UPDATE " + table(dir.path(), "Stari") + " SET VAL = 2");
    database().exec("DELETE FROM " + table(dir.path(), "Acte") + " WHERE ID = 2");
    copyFolder(dir.path(), copy.path());
    copyFolder(dir.path(), replaced.path());
    database().exec("COMMIT");

    EXPECT_GT(journalSize(copy.path()), 0);
    EXPECT_EQ(headerCount(copy.path() + "/Preemptori.dbf"), 2u) << "the copy should hold half a transaction";
    // The first statement on the folder puts it back, byte for byte.
    EXPECT_EQ(txntest::lastRound(copy.path()), 1);
    EXPECT_EQ(folderBytes(copy.path()).value("Acte.dbf"), before.value("Acte.dbf"));
    QMap<QString, QByteArray> recovered = folderBytes(copy.path());
    recovered.remove(dbf::kJournalFileName);
    QMap<QString, QByteArray> expected = before;
    expected.remove(dbf::kJournalFileName);
    EXPECT_EQ(recovered, expected);
    EXPECT_EQ(journalSize(copy.path()), 0);

    // A table replaced by one of another layout since (a restore) is left
    // as it is; the others are put back.
    testsupport::TempFolder layout;
    database().exec("CREATE TABLE " + table(layout.path(), "Stari") + " (ID DECIMAL(12,0), VAL DECIMAL(10,0))");
    QFile::remove(replaced.path() + "/Stari.dbf");
    ASSERT_TRUE(QFile::copy(layout.path() + "/Stari.dbf", replaced.path() + "/Stari.dbf"));
    const QByteArray newStari = folderBytes(replaced.path()).value("Stari.dbf");
    EXPECT_EQ(txntest::lastRound(replaced.path()), 1);
    EXPECT_EQ(folderBytes(replaced.path()).value("Stari.dbf"), newStari);
    EXPECT_EQ(folderBytes(replaced.path()).value("Acte.dbf"), before.value("Acte.dbf"));
}

TEST(StatementSplitting, SemicolonsOutsideQuotesAndCommentsSeparate)
{
    struct Case {
        QString script;
        QStringList statements;
    };
    const Case cases[] = {
        {"BEGIN; UPDATE T SET A=1 ;COMMIT;", {"BEGIN", "UPDATE T SET A=1", "COMMIT"}},
        {"INSERT INTO T (N) VALUES ('a;b'); SELECT \"x;y\".N FROM \"x;y\"",
         {"INSERT INTO T (N) VALUES ('a;b')", "SELECT \"x;y\".N FROM \"x;y\""}},
        {"-- nota; fara comanda\n;;  ;\nSELECT 1 -- a; b\n", {"SELECT 1 -- a; b"}},
        {"", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(splitStatements(c.script), c.statements) << c.script.toStdString();
}

class ConsoleScriptTest : public TransactionTest {
protected:
    int console(const QString &script, bool fromInput, QByteArray *out, QByteArray *err)
    {
        QStringList args = {"--data", dir.path()};
        if (!fromInput)
            args << script;
        return testsupport::runProgram(testsupport::binary("arvena3-sql"), args, out, err, 120000,
                                       fromInput ? script.toUtf8() : QByteArray());
    }
};

TEST_F(ConsoleScriptTest, ScriptsRunTransactionsFromTheArgumentOrTheInput)
{
    auto roundScript = [](int r) {
        QString script = "BEGIN;\n";
        for (const char *name : {"Preemptori", "Vanzatori", "Cereri"})
            script += QString("INSERT INTO %1 (ID, NUME, DATAC) VALUES (%2, 'Ştefan Ţăran %2', '2024-02-29');\n")
                          .arg(name)
                          .arg(r);
        script += QString("UPDATE Stari SET VAL = %1; UPDATE Acte SET SEEN = %1 WHERE ID = %2;\n"
                          "DELETE FROM Acte WHERE ID = %1;\n"
                          "SELECT COUNT(*) AS N FROM Cereri;\n"
                          "COMMIT;\n")
                      .arg(r)
                      .arg(r + 1);
        return script;
    };
    for (const bool fromInput : {false, true}) {
        SCOPED_TRACE(fromInput ? "input" : "argument");
        const QString script = roundScript(fromInput ? 3 : 2);
        QByteArray out, err;
        ASSERT_EQ(console(script, fromInput, &out, &err), 0) << err.toStdString();
        EXPECT_TRUE(out.contains("randuri modificate: 5\n")) << out.toStdString();
        EXPECT_TRUE(out.contains(fromInput ? "N\n3\n" : "N\n2\n")) << out.toStdString();
        EXPECT_EQ(txntest::disagreement(dir.path()), QString());
        EXPECT_EQ(txntest::lastRound(dir.path()), fromInput ? 3 : 2);
    }
}

TEST_F(ConsoleScriptTest, FailingScriptsKeepWhatTheyMayKeep)
{
    struct Case {
        QString script;
        int cereri;
        QByteArray said;
    };
    const Case cases[] = {
        // Inside a transaction a failure takes the whole transaction back.
        {"BEGIN; INSERT INTO Cereri (ID) VALUES (50); INSERT INTO Cereri (ID) VALUES (123456789012345); COMMIT",
         1, "nu incape"},
        // A transaction the script leaves open is rolled back.
        {"BEGIN; INSERT INTO Cereri (ID) VALUES (51)", 1, "COMMIT"},
        // Without BEGIN each statement stands alone, up to the failing one.
        {"INSERT INTO Cereri (ID) VALUES (52); SELECT NOPE FROM Cereri; INSERT INTO Cereri (ID) VALUES (53)", 2,
         "NOPE"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script.toStdString());
        QByteArray out, err;
        EXPECT_EQ(console(c.script, false, &out, &err), 1);
        EXPECT_TRUE(err.contains(c.said)) << err.toStdString();
        EXPECT_EQ(err.trimmed().count('\n'), 0) << err.toStdString();
        EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + table(dir.path(), "Cereri")).toInt(), c.cereri);
        EXPECT_EQ(journalSize(dir.path()), 0);
    }
}

} // namespace
