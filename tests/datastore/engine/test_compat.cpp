// Compatibility both ways with independent dBASE tools (shapelib, Perl
// XBase), and headers of other dBASE levels.
#include "datastore/dbf/tableops.h"
#include "datastore/sql/database.h"
#include "enginefixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstring>

using namespace sqlstore;
using enginetest::quoted;

namespace {

// The Romanian letters in Windows-1250, and as we read them.
const char kDiacritics1250[] = "\xe3\xe2\xee\xba\xfe\xaa\xde"; // ă â î ş ţ Ş Ţ
const char *kDiacriticsText = "ăâîşţŞŢ";

int shell(const QString &script, QByteArray *out = nullptr)
{
    QByteArray err;
    const int rc = testsupport::runProgram("sh", {"-c", script}, out, &err);
    if (rc != 0)
        ADD_FAILURE() << script.toStdString() << ": " << err.toStdString();
    return rc;
}

TEST(Compatibility, TablesWrittenByShapelibAreRead)
{
    if (!testsupport::haveTool("dbfcreate") || !testsupport::haveTool("dbfadd"))
        GTEST_SKIP() << "shapelib tools missing";
    testsupport::TempFolder dir;
    const QString path = dir.path() + "/Preemptori.dbf";
    shell(QString("dbfcreate '%1' -s NUME 40 -n RANG 10 0 -n PRET 8 2 && "
                  "dbfadd '%1' \"$(printf 'Pop %2')\" 3 1234.5 && dbfadd '%1' 'Ion' 1 ''")
              .arg(path, "\\343\\342\\356\\272\\376\\252\\336"));
    Query q = database().query("SELECT NUME, RANG, PRET FROM " + quoted(path) + " ORDER BY RANG");
    ASSERT_EQ(q.rowCount(), 2);
    EXPECT_EQ(q.valueAt(1, 0).toString(), QString::fromUtf8("Pop ") + QString::fromUtf8(kDiacriticsText));
    EXPECT_EQ(q.valueAt(1, 1).toLongLong(), 3);
    EXPECT_DOUBLE_EQ(q.valueAt(1, 2).toDouble(), 1234.5);
    EXPECT_EQ(q.valueAt(0, 0).toString(), "Ion");
    // We can write to it too, and shapelib still reads it.
    database().exec("INSERT INTO " + quoted(path) + " (NUME, RANG, PRET) VALUES ('Nou', 7, 5)");
    QByteArray out;
    ASSERT_EQ(testsupport::runProgram("dbfdump", {path}, &out), 0);
    EXPECT_TRUE(out.contains("Nou")) << out.toStdString();
}

TEST(Compatibility, TablesWrittenByPerlXBaseAreRead)
{
    if (!testsupport::haveTool("perl") || testsupport::runProgram("perl", {"-MXBase", "-e", "1"}) != 0)
        GTEST_SKIP() << "Perl XBase missing";
    testsupport::TempFolder dir;
    const QString path = dir.path() + "/LOG"; // XBase adds ".dbf"
    shell(QString("perl -MXBase -e '"
                  "my $t = XBase->create(name => $ARGV[0], field_names => [qw(IDLOG DATAL ACTIUNE)],"
                  " field_types => [qw(N D C)], field_lengths => [10, 8, 120], field_decimals => [0, 0, 0])"
                  " or die XBase->errstr;"
                  "$t->set_record(0, 1, \"20240229\", \"Adaugare %2\");"
                  "$t->set_record(1, 2, \"20231231\", \"sters\");"
                  "$t->delete_record(1); $t->close;' '%1'")
              .arg(path, "\\xe3\\xe2\\xee\\xba\\xfe\\xaa\\xde"));
    // The table is named in upper case on disk; the statement says Log.dbf.
    Query q = database().query("SELECT * FROM " + quoted(dir.path() + "/Log.dbf"));
    ASSERT_EQ(q.rowCount(), 1);
    EXPECT_EQ(q.value("IDLOG").toLongLong(), 1);
    EXPECT_EQ(q.value("DATAL").toDate(), QDate(2024, 2, 29));
    EXPECT_EQ(q.value("ACTIUNE").toString(), QString::fromUtf8("Adaugare ") + QString::fromUtf8(kDiacriticsText));
}

class OurTablesForOthers : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.path() + "/Vanzatori.dbf";
        database().exec("CREATE TABLE " + quoted(path)
                        + " (IDV DECIMAL(10,0), VANZATOR CHAR(80), BIDATA DATE, PRET DECIMAL(12,2))");
        const QString insert = "INSERT INTO " + quoted(path) + " (IDV, VANZATOR, BIDATA, PRET) VALUES (?,?,?,?)";
        database().exec(insert, {1, QString::fromUtf8("Ștefan ") + QString::fromUtf8(kDiacriticsText),
                                 QDate(2024, 2, 29), 120000.0});
        database().exec(insert, {2, "Sters", QDate(2020, 1, 1), 1.5});
        database().exec(insert, {3, "Fara data", QVariant(), QVariant()});
        database().exec("DELETE FROM " + quoted(path) + " WHERE IDV=2");
    }
    testsupport::TempFolder dir;
    QString path;
};

TEST_F(OurTablesForOthers, ShapelibReadsThem)
{
    if (!testsupport::haveTool("dbfdump"))
        GTEST_SKIP() << "shapelib tools missing";
    QByteArray out;
    ASSERT_EQ(testsupport::runProgram("dbfdump", {"-m", path}, &out), 0);
    EXPECT_EQ(out.count("Record: "), 3);
    EXPECT_TRUE(out.contains(QByteArray("\xaa") + "tefan " + kDiacritics1250)) << out.toStdString();
    EXPECT_TRUE(out.contains("120000")) << out.toStdString();
    EXPECT_EQ(out.count("(DELETED)"), 1);
}

TEST_F(OurTablesForOthers, PerlXBaseReadsThem)
{
    if (!testsupport::haveTool("dbf_dump"))
        GTEST_SKIP() << "Perl XBase missing";
    QByteArray out;
    ASSERT_EQ(testsupport::runProgram("dbf_dump", {path}, &out), 0);
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << out.toStdString(); // the deleted row is not shown
    EXPECT_EQ(lines[0], QByteArray("1:\xaa") + "tefan " + kDiacritics1250 + ":20240229:120000");
    EXPECT_EQ(lines[1], "3:Fara data::");
}

// Writes a table file by hand: header bytes, then rows.
void writeFile(const QString &path, const QByteArray &header, const QList<QByteArray> &rows)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(header);
    for (const QByteArray &r : rows)
        f.write(r);
    f.write("\x1a");
}

TEST(Compatibility, Dbase7HeaderOpens)
{
    testsupport::TempFolder dir;
    QByteArray h(68 + 48 * 2 + 1, '\0');
    h[0] = 0x04;
    h[4] = 2;
    h[8] = char(h.size());
    h[10] = 1 + 10 + 20;
    std::memcpy(h.data() + 32, "DBWINWE0", 8); // language driver name
    std::memcpy(h.data() + 68, "NR", 2);
    h[68 + 32] = 'N';
    h[68 + 33] = 10;
    std::memcpy(h.data() + 68 + 48, "DENUMIREAACTULUI", 16); // long names are allowed at level 7
    h[68 + 48 + 32] = 'C';
    h[68 + 48 + 33] = 20;
    h[h.size() - 1] = '\r';
    const QString path = dir.path() + "/Acte7.dbf";
    writeFile(path, h, {" " + QByteArray("        12") + QByteArray("Proces verbal       "),
                        " " + QByteArray("        13") + QByteArray("Notificare          ")});
    Query q = database().query("SELECT NR, DENUMIREAACTULUI FROM " + quoted(path) + " ORDER BY NR DESC");
    ASSERT_EQ(q.rowCount(), 2);
    EXPECT_EQ(q.value(0).toInt(), 13);
    EXPECT_EQ(q.value(1).toString(), "Notificare");
    // A write keeps the level-7 layout readable.
    database().exec("UPDATE " + quoted(path) + " SET DENUMIREAACTULUI='Anexa' WHERE NR=12");
    EXPECT_EQ(database().scalar("SELECT DENUMIREAACTULUI FROM " + quoted(path) + " WHERE NR=12").toString(), "Anexa");
}

TEST(Compatibility, ProductionIndexIsDroppedAtOurFirstWrite)
{
    testsupport::TempFolder dir;
    QList<dbf::Field> fields = {{"ID", 'N', 10, 0, 0}, {"NUME", 'C', 10, 0, 0}};
    QString error;
    QByteArray h = dbf::buildHeader(fields, &error);
    h[0] = char(0x03);
    h[4] = 1;
    h[28] = 1; // a production index is attached
    const QString path = dir.path() + "/CERERI.DBF";
    writeFile(path, h, {" " + QByteArray("         1") + QByteArray("Vechi     ")});
    QFile(dir.path() + "/CERERI.MDX").open(QIODevice::WriteOnly);

    const QString table = quoted(dir.path() + "/Cereri.dbf");
    EXPECT_EQ(database().scalar("SELECT NUME FROM " + table).toString(), "Vechi");
    EXPECT_TRUE(QFile::exists(dir.path() + "/CERERI.MDX")) << "reading leaves the index alone";

    database().exec("INSERT INTO " + table + " (ID, NUME) VALUES (2, 'Nou')");
    EXPECT_FALSE(QFile::exists(dir.path() + "/CERERI.MDX"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(32).at(28), '\0');
}

TEST(Compatibility, DetachProductionIndex)
{
    testsupport::TempFolder dir;
    QList<dbf::Field> fields = {{"ID", 'N', 10, 0, 0}};
    QString error;
    QByteArray h = dbf::buildHeader(fields, &error);
    h[28] = 1;
    const QString path = dir.path() + "/Comunicari.dbf";
    writeFile(path, h, {});
    QFile(dir.path() + "/Comunicari.mdx").open(QIODevice::WriteOnly);
    dbf::DetachProductionIndex(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(32).at(28), '\0');
    EXPECT_FALSE(QFile::exists(dir.path() + "/Comunicari.mdx"));
    // A file that cannot be opened: nothing happens, nothing is thrown.
    dbf::DetachProductionIndex(dir.path() + "/Lipsa.dbf");
}

} // namespace
