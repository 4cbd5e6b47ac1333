// The five tables of the transaction tests and the operation they repeat:
// round r inserts row r into Preemptori, Vanzatori and Cereri, sets VAL to r
// in every row of Stari, marks row r + 1 of Acte and deletes row r of Acte.
// After any number of whole rounds the tables agree with each other; a round
// seen in part shows as a disagreement.
#pragma once

#include "datastore/dbf/journal.h"
#include "datastore/sql/database.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace txntest {

// The random-kill test starts this many writers, one after the other, and
// kills each of them; a writer ends by itself after kRoundsPerWriter rounds.
constexpr int kKillRuns = 200;
constexpr int kRoundsPerWriter = 12;
// The rounds of the test with a reader beside the writer.
constexpr int kReaderTestRounds = 300;
// Rows of Acte: round r deletes row r and marks row r + 1, so after n rounds
// the table must still hold row n + 1. Sized by the rounds the tests can run,
// not by how many a machine manages before a kill.
constexpr int kActeRows = kKillRuns * kRoundsPerWriter + 1;
static_assert(kActeRows > kReaderTestRounds);
// Rows of Stari.
constexpr int kStariRows = 5;

inline QString table(const QString &dir, const char *name)
{
    return QLatin1Char('"') + dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".dbf\"");
}

// Bytes of the folder's journal: 0 between transactions.
inline qint64 journalSize(const QString &dir)
{
    return QFileInfo(dir + QLatin1Char('/') + QLatin1String(dbf::kJournalFileName)).size();
}

// What a table's header announces, and the file's length.
struct TableShape {
    quint32 count = 0;
    qint64 headerLength = 0;
    qint64 recordLength = 0;
    qint64 fileSize = 0;
    // The file holds every record the header counts.
    bool whole() const { return fileSize >= headerLength + qint64(count) * recordLength; }
};

inline TableShape tableShape(const QString &path)
{
    TableShape shape;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return shape;
    const QByteArray h = f.read(12);
    if (h.size() < 12)
        return shape;
    shape.count = quint8(h[4]) | quint8(h[5]) << 8 | quint8(h[6]) << 16 | quint32(quint8(h[7])) << 24;
    shape.headerLength = quint8(h[8]) | quint8(h[9]) << 8;
    shape.recordLength = quint8(h[10]) | quint8(h[11]) << 8;
    shape.fileSize = f.size();
    return shape;
}

// The record count a table's header announces.
inline quint32 headerCount(const QString &path)
{
    return tableShape(path).count;
}

inline QStringList tableNames()
{
    return {"Preemptori", "Vanzatori", "Cereri", "Stari", "Acte"};
}

inline QString textOf(qint64 id)
{
    return QString::fromUtf8("Ştefan Ţăran %1").arg(id);
}

inline void createTables(const QString &dir)
{
    using sqlstore::database;
    for (const char *name : {"Preemptori", "Vanzatori", "Cereri"})
        database().exec("CREATE TABLE " + table(dir, name) + " (ID DECIMAL(10,0), NUME CHAR(40), DATAC DATE)");
    database().exec("CREATE TABLE " + table(dir, "Stari") + " (ID DECIMAL(10,0), VAL DECIMAL(10,0))");
    database().exec("CREATE TABLE " + table(dir, "Acte") + " (ID DECIMAL(10,0), SEEN DECIMAL(10,0), NUME CHAR(40))");
    sqlstore::Transaction seed;
    for (int i = 1; i <= kStariRows; ++i)
        database().exec("INSERT INTO " + table(dir, "Stari") + " (ID, VAL) VALUES (?, 0)", {i});
    for (int i = 1; i <= kActeRows; ++i)
        database().exec("INSERT INTO " + table(dir, "Acte") + " (ID, NUME) VALUES (?, ?)", {i, textOf(i)});
    seed.commit();
}

// The last whole round: the highest ID of Preemptori, 0 when none.
inline qint64 lastRound(const QString &dir)
{
    return sqlstore::database().scalar("SELECT ifnull(MAX(ID), 0) FROM " + table(dir, "Preemptori")).toLongLong();
}

inline void runRound(const QString &dir, qint64 r)
{
    using sqlstore::database;
    sqlstore::Transaction operation;
    for (const char *name : {"Preemptori", "Vanzatori", "Cereri"})
        database().exec("INSERT INTO " + table(dir, name) + " (ID, NUME, DATAC) VALUES (?, ?, ?)",
                        {r, textOf(r), QDate(2024, 2, 29)});
    database().exec("UPDATE " + table(dir, "Stari") + " SET VAL = ?", {r});
    database().exec("UPDATE " + table(dir, "Acte") + " SET SEEN = ? WHERE ID = ?", {r, r + 1});
    database().exec("DELETE FROM " + table(dir, "Acte") + " WHERE ID = ?", {r});
    operation.commit();
}

// What one statement sees of the five tables; empty when they agree with
// each other, else what disagrees.
inline QString disagreement(const QString &dir)
{
    const QString sql =
        "SELECT (SELECT ifnull(MAX(ID), 0) FROM " + table(dir, "Preemptori") + ") AS N,\n"
        " (SELECT COUNT(*) FROM " + table(dir, "Preemptori") + "),\n"
        " (SELECT COUNT(DISTINCT ID) FROM " + table(dir, "Vanzatori") + "),\n"
        " (SELECT ifnull(MAX(ID), 0) FROM " + table(dir, "Vanzatori") + "),\n"
        " (SELECT COUNT(*) FROM " + table(dir, "Cereri") + "),\n"
        " (SELECT ifnull(MAX(ID), 0) FROM " + table(dir, "Cereri") + "),\n"
        " (SELECT MIN(VAL) FROM " + table(dir, "Stari") + "),\n"
        " (SELECT MAX(VAL) FROM " + table(dir, "Stari") + "),\n"
        " (SELECT COUNT(*) FROM " + table(dir, "Stari") + "),\n"
        " (SELECT ifnull(MIN(ID), 0) FROM " + table(dir, "Acte") + "),\n"
        " (SELECT COUNT(*) FROM " + table(dir, "Acte") + "),\n"
        " (SELECT COUNT(*) FROM " + table(dir, "Acte") + " WHERE SEEN IS NOT NULL),\n"
        " (SELECT ifnull(MAX(SEEN), 0) FROM " + table(dir, "Acte") + "),\n"
        " (SELECT COUNT(*) FROM " + table(dir, "Cereri") + " WHERE NUME <> 'Ştefan Ţăran ' || ID"
        "   OR DATAC <> '2024-02-29')";
    const sqlstore::Query q = sqlstore::database().query(sql);
    const qint64 n = q.value(0).toLongLong();
    QStringList seen;
    for (int c = 0; c < q.columnCount(); ++c)
        seen << q.value(c).toString();
    const QList<qint64> expected = {n, n, n, n, n, n, n, n, kStariRows, n + 1, kActeRows - n, n > 0 ? 1 : 0, n, 0};
    for (int c = 0; c < expected.size(); ++c)
        if (q.value(c).toLongLong() != expected[c])
            return QStringLiteral("column %1 is %2; all: %3").arg(c).arg(q.value(c).toString(), seen.join(", "));
    return {};
}

} // namespace txntest
