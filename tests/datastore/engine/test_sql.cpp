// Statements of the program against real dBASE files: every shape the
// program sends, and the value semantics of the old engine.
#include "datastore/dbf/filelock.h"
#include "datastore/dbf/tableops.h"
#include "datastore/sql/collation.h"
#include "datastore/sql/database.h"
#include "enginefixture.h"
#include "locktimeout.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace sqlstore;
using enginetest::quoted;

namespace {

class SqlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        enginetest::createRequestTables(dir.path());
        cereri = quoted(dir.path() + "/Cereri.dbf");
        vanzatori = quoted(dir.path() + "/Vanzatori.dbf");
    }
    void addRequest(int id, int nr, const QDate &date, const QVariant &price = 1000)
    {
        database().exec("INSERT INTO " + cereri + " (ID, NR, NR2, DATAC, SUPRAF, PRET, STARE) VALUES (?,?,?,?,?,?,0)",
                        {id, nr, nr, date, "1,5 ha", price});
    }
    void addSeller(int idv, int id, int nrcrt, const QString &name)
    {
        database().exec("INSERT INTO " + vanzatori + " (IDV, ID, NRCRT, VANZATOR, CNPCUI) VALUES (?,?,?,?,?)",
                        {idv, id, nrcrt, name, "1234567890123"});
    }
    testsupport::TempFolder dir;
    QString cereri, vanzatori;
};

TEST_F(SqlTest, InsertSelectUpdateDeleteRoundTrip)
{
    addRequest(1, 10, QDate(2024, 2, 29), 120000.0);
    addRequest(2, 11, QDate(2024, 3, 1));
    EXPECT_EQ(database().execCount("UPDATE " + cereri + " SET STARE=4 WHERE ID=?", {2}), 1);
    EXPECT_EQ(database().execCount("DELETE FROM " + cereri + " WHERE ID=1"), 1);

    Query q = database().query("SELECT * FROM " + cereri);
    ASSERT_EQ(q.rowCount(), 1);
    EXPECT_EQ(q.value("ID").toLongLong(), 2);
    EXPECT_EQ(q.value("STARE").toLongLong(), 4);
    EXPECT_EQ(q.value("DATAC").toDate(), QDate(2024, 3, 1));
    EXPECT_EQ(q.value("SUPRAF").toString(), "1,5 ha");
    EXPECT_TRUE(q.value("NRCAD").isNull());

    const FieldInfo &price = q.field(q.fieldIndex("PRET"));
    EXPECT_EQ(price.type, 'N');
    EXPECT_EQ(price.width, 12);
    EXPECT_EQ(price.decimals, 2);
    const FieldInfo &nrcad = q.field(q.fieldIndex("nrcad"));
    EXPECT_EQ(nrcad.type, 'C');
    EXPECT_EQ(nrcad.width, 80);
    EXPECT_EQ(q.field(q.fieldIndex("DATAC")).type, 'D');
}

TEST_F(SqlTest, DatesCompareAsDatesAndTwentyNinthOfFebruaryIsKept)
{
    addRequest(1, 1, QDate(2023, 12, 31));
    addRequest(2, 2, QDate(2024, 1, 1));
    addRequest(3, 3, QDate(2024, 2, 29));
    // The old statements write the date "dd.MM.yyyy"; bound dates are ISO.
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + cereri + " WHERE DATAC > '01.01.2024'").toInt(), 1);
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + cereri + " WHERE DATAC > ?", {QDate(2024, 1, 1)}).toInt(), 1);
    EXPECT_EQ(database().scalar("SELECT MAX(NR) FROM " + cereri + " WHERE DATAC>=? AND DATAC<?",
                                {QDate(2023, 1, 1), QDate(2024, 1, 1)})
                  .toInt(),
              1);
    EXPECT_EQ(database().scalar("SELECT DATAC FROM " + cereri + " WHERE ID=3").toDate(), QDate(2024, 2, 29));
}

TEST_F(SqlTest, TextSemanticsOfTheOldEngine)
{
    addSeller(1, 1, 1, "POP ANA");
    addSeller(2, 1, 2, "");
    // Trailing blanks do not matter in "=".
    EXPECT_EQ(database().scalar("SELECT IDV FROM " + vanzatori + " WHERE VANZATOR = 'POP ANA'").toInt(), 1);
    EXPECT_EQ(database().scalar("SELECT IDV FROM " + vanzatori + " WHERE VANZATOR = ?", {"POP ANA   "}).toInt(), 1);
    // A blank field is NULL and concatenates as empty text.
    EXPECT_TRUE(database().scalar("SELECT VANZATOR FROM " + vanzatori + " WHERE IDV=2").isNull());
    EXPECT_EQ(database().scalar("SELECT 'loc.' || VANZATOR || ', ' || CNPCUI FROM " + vanzatori + " WHERE IDV=2")
                  .toString(),
              "loc., 1234567890123");
    // MAX of no rows is NULL; CAST of a whole number is its digits.
    EXPECT_TRUE(database().scalar("SELECT MAX(IDV) FROM " + vanzatori + " WHERE ID=99").isNull());
    EXPECT_EQ(database().scalar("SELECT CAST(NRCRT AS TEXT) FROM " + vanzatori + " WHERE IDV=2").toString(), "2");
    // Identifiers without regard to case; a result column takes the bare name.
    Query q = database().query("select a.nrcrt, A.VANZATOR from " + vanzatori + " a WHERE a.IDV=1");
    EXPECT_EQ(q.field(0).name.toUpper(), "NRCRT");
    EXPECT_EQ(q.field(1).name, "VANZATOR");
}

TEST_F(SqlTest, NotInKeepsRowsWhenTheSubqueryYieldsNull)
{
    addSeller(1, 1, 1, "ION");
    addSeller(2, 1, 2, "VASILE");
    addSeller(3, 2, 1, ""); // a blank name in the list
    Query q = database().query("SELECT VANZATOR FROM " + vanzatori + " WHERE ID=1 AND NOT (VANZATOR IN "
                               "(SELECT A.VANZATOR FROM " + vanzatori + " A WHERE A.ID=2 OR A.IDV=2)) ORDER BY VANZATOR");
    ASSERT_EQ(q.rowCount(), 1);
    EXPECT_EQ(q.value(0).toString(), "ION");
}

TEST_F(SqlTest, ValuesThatDoNotFit)
{
    // A text is cut to its width; 120000.00 in DECIMAL(8,2) keeps its value.
    database().exec("CREATE TABLE " + quoted(dir.path() + "/Comunicari.dbf") + " (IDC DECIMAL(10,0), PRET DECIMAL(8,2), "
                    "ADRESA CHAR(80))");
    const QString comunicari = quoted(dir.path() + "/Comunicari.dbf");
    database().exec("INSERT INTO " + comunicari + " (IDC, PRET, ADRESA) VALUES (1, ?, ?)",
                    {120000.00, QString(95, 'x')});
    Query q = database().query("SELECT PRET, ADRESA FROM " + comunicari);
    EXPECT_DOUBLE_EQ(q.value("PRET").toDouble(), 120000.0);
    EXPECT_EQ(q.value("ADRESA").toString(), QString(80, 'x'));
    // A number that cannot fit is refused, and nothing is written.
    try {
        database().exec("INSERT INTO " + comunicari + " (IDC, PRET) VALUES (2, 123456789.5)");
        FAIL() << "no error";
    } catch (const SqlError &e) {
        EXPECT_TRUE(e.message().contains("Comunicari.dbf")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("PRET")) << e.message().toStdString();
    }
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + comunicari).toInt(), 1);
}

TEST_F(SqlTest, CharactersWithoutWindows1250FormAreRefused)
{
    addSeller(1, 1, 1, QString::fromUtf8("Ștefan Țepeș"));
    EXPECT_EQ(database().scalar("SELECT VANZATOR FROM " + vanzatori).toString(), QString::fromUtf8("Ştefan Ţepeş"));
    EXPECT_EQ(database().scalar("SELECT IDV FROM " + vanzatori + " WHERE VANZATOR=?", {QString::fromUtf8("Ștefan Țepeș")})
                  .toInt(),
              1);
    EXPECT_THROW(addSeller(2, 1, 2, QString::fromUtf8("Ελένη")), SqlError);
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + vanzatori).toInt(), 1);
}

TEST_F(SqlTest, RomanianOrderWithoutRegardToCase)
{
    const QStringList names = {"ţară", "Tudor", "şanţ", "sat", "îngust", "inel", "âtât", "ăla", "Zeta", "adam"};
    int idv = 0;
    for (const QString &n : names) {
        ++idv;
        addSeller(idv, 1, idv, n);
    }
    Query q = database().query("SELECT VANZATOR FROM " + vanzatori + " ORDER BY VANZATOR");
    QStringList sorted;
    for (q.first(); !q.eof(); q.next())
        sorted << q.value(0).toString();
    EXPECT_EQ(sorted, QStringList({"adam", "ăla", "âtât", "inel", "îngust", "sat", "şanţ", "Tudor", "ţară", "Zeta"}));
    // DISTINCT keeps two spellings apart but GROUP BY with MAX works per name.
    addSeller(20, 2, 1, "sat");
    Query g = database().query("SELECT MAX(IDV) AS IDV, VANZATOR, CNPCUI FROM " + vanzatori
                               + " GROUP BY VANZATOR, CNPCUI ORDER BY VANZATOR");
    ASSERT_TRUE(g.locate("VANZATOR", "sat"));
    EXPECT_EQ(g.value("IDV").toInt(), 20);
    EXPECT_EQ(g.rowCount(), names.size());
}

TEST(RomanianSortKey, SortsAsTheEngineCompares)
{
    const QStringList names = {"ţară", "Tudor", "şanţ", "ș", "sat", "SAT", "Sat ", "sa", "îngust", "inel", "âtât",
                               "ăla", "Zeta", "adam", "Adam", "adam2", "a b", "", "Éva", "evA", "Ştefan", "Ștefan"};
    for (const QString &a : names)
        for (const QString &b : names) {
            const int byKey = sqlstore::romanianSortKey(a).compare(sqlstore::romanianSortKey(b));
            const int byEngine = sqlstore::compareRomanian(a, b);
            EXPECT_EQ(byKey < 0, byEngine < 0) << a.toStdString() << " / " << b.toStdString();
            EXPECT_EQ(byKey == 0, byEngine == 0) << a.toStdString() << " / " << b.toStdString();
        }
}

TEST_F(SqlTest, FullJoinWithSellerOneAndOrder)
{
    addRequest(1, 5, QDate(2024, 5, 1));
    addRequest(2, 3, QDate(2024, 4, 1));
    addRequest(3, 4, QDate(2024, 4, 1)); // has only a second seller
    addSeller(1, 1, 1, "ANA");
    addSeller(2, 1, 2, "BOGDAN");
    addSeller(3, 2, 1, "CRISTI");
    addSeller(4, 3, 2, "DAN");
    Query q = database().query("SELECT A.*,\nB.VANZATOR, B.CNPCUI\nFROM " + cereri + " A\nFULL JOIN " + vanzatori
                               + " B\n  ON A.ID=B.ID\nWHERE B.NRCRT=1\nORDER BY A.DATAC, A.NR");
    ASSERT_EQ(q.rowCount(), 2);
    EXPECT_EQ(q.valueAt(0, q.fieldIndex("ID")).toInt(), 2);
    EXPECT_EQ(q.valueAt(0, q.fieldIndex("VANZATOR")).toString(), "CRISTI");
    EXPECT_EQ(q.valueAt(1, q.fieldIndex("ID")).toInt(), 1);
    // The comma join of the renumbering check.
    EXPECT_EQ(database().scalar("SELECT B.VANZATOR FROM " + cereri + " A, " + vanzatori
                                + " B WHERE A.ID=B.ID AND B.NRCRT=1 AND NR=3")
                  .toString(),
              "CRISTI");
}

TEST_F(SqlTest, InsertSelectFromAnotherFolderAndRenumberSellers)
{
    testsupport::TempFolder work;
    const QString tmp = quoted(work.path() + "/TmpVanz0.DBF");
    database().exec("CREATE TABLE " + tmp + " (IDV DECIMAL(10,0), ID DECIMAL(10,0), NRCRT DECIMAL(6,0), "
                    "VANZATOR CHAR(80), CNPCUI CHAR(13))");
    for (int i = 1; i <= 3; ++i)
        database().exec("INSERT INTO " + tmp + " (IDV, ID, NRCRT, VANZATOR, CNPCUI) VALUES (?, 0, ?, ?, '')",
                        {i, i, QString("V%1").arg(i)});
    database().exec("DELETE FROM " + tmp + " WHERE IDV=1");
    database().exec("UPDATE " + tmp + " SET NRCRT=NRCRT-1 WHERE NRCRT>1");
    EXPECT_EQ(database().execCount("INSERT INTO " + vanzatori + " (IDV, ID, NRCRT, VANZATOR, CNPCUI) SELECT IDV, 7, "
                                   "NRCRT, VANZATOR, CNPCUI FROM " + tmp),
              2);
    Query q = database().query("SELECT NRCRT, VANZATOR FROM " + vanzatori + " WHERE ID=7 ORDER BY NRCRT");
    ASSERT_EQ(q.rowCount(), 2);
    EXPECT_EQ(q.valueAt(0, 0).toInt(), 1);
    EXPECT_EQ(q.valueAt(0, 1).toString(), "V2");
}

TEST_F(SqlTest, AlterTableAddDropAndWiden)
{
    addRequest(1, 1, QDate(2024, 1, 2));
    database().exec("ALTER TABLE " + cereri + "\nADD COTAPARTE CHAR(10), ADD FARACONTR CHAR(1)");
    // Adding a field that exists fails, as the upgrade expects.
    EXPECT_THROW(database().exec("ALTER TABLE " + cereri + " ADD COTAPARTE CHAR(10)"), SqlError);
    database().exec("UPDATE " + cereri + " SET COTAPARTE='1/1', FARACONTR=''");
    database().exec("ALTER TABLE " + cereri + " ADD COTAPARTES CHAR(11)");
    database().exec("UPDATE " + cereri + " SET COTAPARTES=CAST(SUPRAF AS CHAR(11))");
    database().exec("ALTER TABLE " + cereri + " DROP STARE");
    dbf::widenColumn(dir.path() + "/Cereri.dbf", "SUPRAF", 40);
    Query q = database().query("SELECT * FROM " + cereri);
    EXPECT_EQ(q.fieldIndex("STARE"), -1);
    EXPECT_EQ(q.value("COTAPARTE").toString(), "1/1");
    EXPECT_EQ(q.value("COTAPARTES").toString(), "1,5 ha");
    EXPECT_EQ(q.field(q.fieldIndex("SUPRAF")).width, 40);
    EXPECT_EQ(q.value("SUPRAF").toString(), "1,5 ha");
    EXPECT_EQ(q.value("DATAC").toDate(), QDate(2024, 1, 2));
}

TEST_F(SqlTest, QueryPositioningFilterAndRequery)
{
    for (int i = 1; i <= 5; ++i)
        addSeller(i, i % 2, i, QString("S%1").arg(i));
    Query q = database().query("SELECT * FROM " + vanzatori + " ORDER BY IDV");
    EXPECT_EQ(q.rowCount(), 5);
    EXPECT_TRUE(q.last());
    EXPECT_EQ(q.value("IDV").toInt(), 5);
    q.setFilter("ID", 1);
    EXPECT_EQ(q.rowCount(), 3);
    EXPECT_TRUE(q.locate("IDV", 3));
    EXPECT_EQ(q.position(), 1);
    addSeller(7, 1, 7, "S7");
    q.requery();
    EXPECT_EQ(q.rowCount(), 4);
    EXPECT_THROW(q.value("NOPE"), SqlError);
}

TEST_F(SqlTest, FileNamesWithoutRegardToCase)
{
    addRequest(1, 1, QDate(2024, 1, 1));
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + quoted(dir.path() + "/CERERI.DBF")).toInt(), 1);
    QFile::rename(dir.path() + "/Vanzatori.dbf", dir.path() + "/VANZATORI.DBF");
    addSeller(1, 1, 1, "X");
    EXPECT_TRUE(QFile::exists(dir.path() + "/VANZATORI.DBF"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/Vanzatori.dbf"));
}

TEST_F(SqlTest, ErrorsNameTheTable)
{
    const QString missing = dir.path() + "/Lipsa.dbf";
    try {
        database().query("SELECT * FROM " + quoted(missing));
        FAIL() << "no error";
    } catch (const SqlError &e) {
        EXPECT_TRUE(e.message().contains("Lipsa.dbf")) << e.message().toStdString();
    }
    EXPECT_THROW(database().exec("CREATE TABLE " + cereri + " (ID DECIMAL(10,0))"), SqlError);
    EXPECT_THROW(database().query("SELECT NOPE FROM " + cereri), SqlError);
}

TEST_F(SqlTest, IndexedLookupsAgreeWithAFullScan)
{
    // NR: -5 .. 44, every seventh blank; SUPRAF text.
    for (int i = 0; i < 50; ++i)
        database().exec("INSERT INTO " + cereri + " (ID, NR, SUPRAF) VALUES (?, ?, ?)",
                        {i, i % 7 == 0 ? QVariant() : QVariant(i - 5), QString("S%1 ").arg(i % 5)});
    database().exec("DELETE FROM " + cereri + " WHERE ID=20");
    const QStringList conditions = {"NR > 10", "NR >= 10", "NR < 5", "NR <= -3", "NR > 3 AND NR < 20",
                                    "NR BETWEEN 5 AND 8", "NR > '7'", "NR < 'abc'", "NR = 12", "NR = 12.0",
                                    "NR = '12'", "NR = 15", "NR > 1e9", "SUPRAF = 'S3'", "SUPRAF = 'S3   '",
                                    "ID = 20", "NR IS NULL"};
    for (const QString &c : conditions) {
        // Inside CASE the condition is no constraint the table is offered.
        const QString plain = "CASE WHEN " + c + " THEN 1 END = 1";
        const int indexed = database().scalar("SELECT COUNT(*) FROM " + cereri + " WHERE " + c).toInt();
        const int scanned = database().scalar("SELECT COUNT(*) FROM " + cereri + " WHERE " + plain).toInt();
        EXPECT_EQ(indexed, scanned) << c.toStdString();
    }
    // The plan does use the index.
    Query plan = database().query("EXPLAIN QUERY PLAN SELECT * FROM " + cereri + " WHERE NR > ?", {3});
    EXPECT_TRUE(plan.value(3).toString().contains("INDEX")) << plan.value(3).toString().toStdString();
}

TEST_F(SqlTest, StatementShapesOfTheDocuments)
{
    const QString pre = quoted(dir.path() + "/Preemptori.dbf");
    const QString acte = quoted(dir.path() + "/AlteActe.dbf");
    const QString com = quoted(dir.path() + "/Comunicari.dbf");
    database().exec("CREATE TABLE " + pre + " (IDP DECIMAL(10,0), ID DECIMAL(10,0), RANG DECIMAL(10,0), "
                    "NUME CHAR(80), ADRESA CHAR(120))");
    database().exec("CREATE TABLE " + acte + " (IDA DECIMAL(10,0), ID DECIMAL(10,0), BLOCAT CHAR(2), "
                    "NR DECIMAL(10,0), DATAA DATE, DESTINATAR CHAR(80), IDC DECIMAL(10,0))");
    database().exec("CREATE TABLE " + com + " (IDC DECIMAL(10,0), ID DECIMAL(10,0), RANG DECIMAL(6,0), "
                    "CUMPARATOR CHAR(80), LOC CHAR(32), ADRESA CHAR(120))");
    const QStringList holders = {"Vecin B", "Vecin A", "Asociatia"};
    for (int i = 0; i < holders.size(); ++i) {
        database().exec("INSERT INTO " + pre + " VALUES (?, 5, ?, ?, 'Str. Mare 1')", {10 + i, i % 2 + 1, holders[i]});
        database().exec("INSERT INTO " + acte + " VALUES (?, 5, '14', ?, '2024-03-01', ?, ?)",
                        {100 + i, 40 + i, holders[i], 10 + i});
    }
    database().exec("INSERT INTO " + com + " VALUES (1, 5, 1, 'Cumparator X', '', 'Str. Mica 2')");

    // Holder list with the notification of each, joined on ids and on names.
    for (const QString &on : {QString("B.IDC=A.IDP"), QString("B.DESTINATAR=A.NUME")}) {
        Query q = database().query("SELECT A.*, B.NR, B.DATAA\nFROM " + acte + " B\nJOIN " + pre + " A\n ON " + on
                                   + "\nWHERE B.ID=?\nAND A.ID=?\nAND B.BLOCAT='14'\nORDER BY A.RANG, A.NUME",
                                   {5, 5});
        ASSERT_EQ(q.rowCount(), 3) << on.toStdString();
        EXPECT_EQ(q.valueAt(0, q.fieldIndex("NUME")).toString(), "Asociatia");
        EXPECT_EQ(q.valueAt(1, q.fieldIndex("NUME")).toString(), "Vecin B");
        EXPECT_EQ(q.valueAt(1, q.fieldIndex("NR")).toInt(), 40);
        EXPECT_EQ(q.valueAt(2, q.fieldIndex("NUME")).toString(), "Vecin A");
    }
    // Ranks present, one row each.
    EXPECT_EQ(database().query("SELECT RANG FROM " + pre + " WHERE ID=5 GROUP BY RANG").rowCount(), 2);
    // The list of holders and buyers of stage I, built in a work table.
    const QString lp = quoted(dir.path() + "/LP10.dbf");
    database().exec("CREATE TABLE " + lp + " (ID DECIMAL(10,0), RANG DECIMAL(6,0), NUME CHAR(80), ADRESA CHAR(160))");
    database().exec("INSERT INTO " + lp + " (ID, RANG, NUME, ADRESA) SELECT ID, RANG, NUME, ADRESA FROM " + pre
                    + " WHERE ID=?", {5});
    database().exec("INSERT INTO " + lp + " (ID, RANG, NUME, ADRESA) SELECT ID, RANG, CUMPARATOR, 'loc.' || LOC || ', '"
                    " || ADRESA AS ADRESA FROM " + com + " WHERE ID=? AND RANG<100 AND NOT (CUMPARATOR IN "
                    "(SELECT NUME FROM " + lp + "))", {5});
    EXPECT_EQ(database().scalar("SELECT ADRESA FROM " + lp + " WHERE NUME='Cumparator X'").toString(),
              "loc., Str. Mica 2");
    // The highest other request, and none at all.
    EXPECT_EQ(database().scalar("SELECT MAX(IDP) AS MAXID FROM " + pre + " WHERE IDP<>?", {12}).toInt(), 11);
    EXPECT_TRUE(database().scalar("SELECT MAX(IDP) AS MAXID FROM " + pre + " WHERE IDP<>? AND ID=7", {-1}).isNull());
}

TEST_F(SqlTest, PackRemovesDeletedRowsAndKeepsTheRest)
{
    for (int i = 1; i <= 5; ++i)
        addRequest(i, i, QDate(2024, 1, i));
    database().exec("DELETE FROM " + cereri + " WHERE ID IN (2, 4)");
    const qint64 before = QFileInfo(dir.path() + "/Cereri.dbf").size();
    dbf::packTable(dir.path() + "/Cereri.dbf");
    EXPECT_LT(QFileInfo(dir.path() + "/Cereri.dbf").size(), before);
    Query q = database().query("SELECT ID, DATAC FROM " + cereri);
    ASSERT_EQ(q.rowCount(), 3);
    EXPECT_EQ(q.valueAt(2, 0).toInt(), 5);
    EXPECT_EQ(q.valueAt(2, 1).toDate(), QDate(2024, 1, 5));
    // Inserting after the pack goes on from the packed count.
    addRequest(6, 6, QDate(2024, 1, 6));
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + cereri).toInt(), 4);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".new").isEmpty());
}

TEST_F(SqlTest, AStatementWaitsForAnotherWritersLockThenGivesUp)
{
    addRequest(1, 1, QDate(2024, 1, 1));
    // Another descriptor of the file stands for another workstation.
    platform::NativeFile other;
    ASSERT_TRUE(other.open(dir.path() + "/Cereri.dbf", platform::NativeFile::ReadWrite));
    QString why;
    ASSERT_TRUE(dbf::lockFile(other, dbf::LockMode::Exclusive, 1000, &why)) << why.toStdString();
    testsupport::LockTimeoutScope wait(300);
    try {
        database().query("SELECT * FROM " + cereri);
        ADD_FAILURE() << "read while another process writes";
    } catch (const SqlError &e) {
        EXPECT_TRUE(e.message().contains("Cereri.dbf")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("blocata")) << e.message().toStdString();
    }
    // A reader elsewhere lets us read but not write.
    dbf::unlockFile(other);
    ASSERT_TRUE(dbf::lockFile(other, dbf::LockMode::Shared, 1000, &why));
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + cereri).toInt(), 1);
    EXPECT_THROW(addRequest(2, 2, QDate(2024, 1, 2)), SqlError);
    other.close();
    wait.set(testsupport::kEngineLockTimeoutMs);
    addRequest(2, 2, QDate(2024, 1, 2));
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM " + cereri).toInt(), 2);
}

} // namespace
