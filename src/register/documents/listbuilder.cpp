#include "register/documents/listbuilder.h"

#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"
#include "platform/filehelpers.h"
#include "templates/rtftext.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

using sqlstore::database;

const QByteArray kRowStart = "\\qc ";
const QByteArray kRowEnd = "\\ltrrow}\\pard ";
// The row's end is looked for this far past its start, beyond its own cells.
constexpr qsizetype kRowEndSearchOffset = 101;

void replaceNoCase(QByteArray &text, const QByteArray &marker, const QByteArray &value)
{
    qsizetype at = rtftext::indexOfNoCase(text, marker);
    while (at >= 0) {
        text.replace(at, marker.size(), value);
        at = rtftext::indexOfNoCase(text, marker, at + value.size());
    }
}

QByteArray rankMarker(const char *stem, int rank)
{
    return QByteArray("[") + stem + QByteArray::number(rank) + "]";
}

// One copy of a rank's row: its number and the holder in place of its markers.
QByteArray rowCopy(QByteArray row, int rank, int position, const ListEntry *entry)
{
    const qsizetype number = row.indexOf("1.", row.indexOf(kRowStart) + kRowStart.size());
    if (number >= 0)
        row.replace(number, 2, QByteArray::number(position) + ".");
    replaceNoCase(row, rankMarker("Pree", rank), entry ? rtftext::escapeValue(entry->name) : QByteArray());
    replaceNoCase(row, rankMarker("Adresa", rank), entry ? rtftext::escapeValue(entry->address) : QByteArray());
    return row;
}

void fillRank(QByteArray &text, int rank, const QList<ListEntry> &entries)
{
    const qsizetype marker = rtftext::indexOfNoCase(text, rankMarker("Pree", rank));
    if (marker < 0)
        return;
    const qsizetype start = text.lastIndexOf(kRowStart, marker);
    if (start < 0)
        return;
    const qsizetype endMark = text.indexOf(kRowEnd, start + kRowEndSearchOffset);
    if (endMark < 0)
        return;
    const qsizetype end = qMin(text.size(), endMark + kRowEnd.size() + 1);
    const QByteArray row = text.mid(start, end - start);
    QByteArray rows;
    int position = 0;
    for (const ListEntry &e : entries) {
        if (e.rank == rank)
            rows += rowCopy(row, rank, ++position, &e);
    }
    if (position == 0)
        rows = rowCopy(row, rank, 1, nullptr);
    text.replace(start, end - start, rows);
}

} // namespace

QByteArray FillHolderList(QByteArray text, const QList<ListEntry> &entries)
{
    QSet<qint64> ranks;
    for (const ListEntry &e : entries)
        ranks.insert(e.rank);
    for (int rank = 1; rank <= 7; ++rank)
        replaceNoCase(text, rankMarker("p", rank), ranks.contains(rank) ? QByteArray("X") : QByteArray());
    for (int rank = 1; rank <= 7; ++rank)
        fillRank(text, rank, entries);
    text.replace("\\\\ql", "\\ql");
    return text;
}

namespace {

QList<ListEntry> entriesOf(sqlstore::Query q)
{
    QList<ListEntry> entries;
    for (bool more = q.first(); more; more = q.next())
        entries.append({q.value(QStringLiteral("RANG")).toLongLong(), q.value(QStringLiteral("NUME")).toString().trimmed(),
                        q.value(QStringLiteral("ADRESA")).toString().trimmed()});
    return entries;
}

QString holdersStatement(const QString &table)
{
    return QStringLiteral("SELECT ID, RANG, NUME, ADRESA FROM ") + table + QStringLiteral(" WHERE ID=? ORDER BY RANG, NUME");
}

// Removes the scratch table however the list ended.
struct ScratchTable {
    QString path;
    ~ScratchTable()
    {
        try {
            database().exec(QStringLiteral("DROP TABLE ") + sqlstore::quoteName(path));
        } catch (const sqlstore::SqlError &) {
        }
        QFile::remove(path);
    }
};

QList<ListEntry> withCommunicants(qint64 requestId)
{
    ScratchTable lp1{TempFileName(QStringLiteral("LP1"), QStringLiteral(".dbf"))};
    if (lp1.path.isEmpty())
        throw sqlstore::SqlError(QStringLiteral("Nu se gaseste un nume liber pentru tabela de lucru LP1."));
    const QString table = sqlstore::quoteName(lp1.path);
    database().exec(QStringLiteral("CREATE TABLE ") + table
                    + QStringLiteral(" (ID DECIMAL(10,0), RANG DECIMAL(6,0), NUME CHAR(80), ADRESA CHAR(160))"));
    const QString insert = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (ID, RANG, NUME, ADRESA) VALUES (?, ?, ?, ?)");
    QSet<QString> named;
    for (const ListEntry &h : entriesOf(database().query(holdersStatement(QuotedTablePath(QStringLiteral("Preemptori.dbf"))), {requestId}))) {
        database().exec(insert, {requestId, h.rank, h.name, h.address});
        named.insert(h.name.toUpper());
    }
    sqlstore::Query answers = database().query(
        QStringLiteral("SELECT ID, RANG, CUMPARATOR, LOC, ADRESA FROM ") + QuotedTablePath(QStringLiteral("Comunicari.dbf"))
            + QStringLiteral(" WHERE ID=? AND RANG<100 ORDER BY DATAC, NR"),
        {requestId});
    for (bool more = answers.first(); more; more = answers.next()) {
        const QString name = answers.value(QStringLiteral("CUMPARATOR")).toString().trimmed();
        if (named.contains(name.toUpper()))
            continue;
        named.insert(name.toUpper());
        const QString address = QStringLiteral("loc.") + answers.value(QStringLiteral("LOC")).toString().trimmed()
                                + QStringLiteral(", ") + answers.value(QStringLiteral("ADRESA")).toString().trimmed();
        database().exec(insert, {requestId, answers.value(QStringLiteral("RANG")).toLongLong(), name, address});
    }
    return entriesOf(database().query(holdersStatement(table), {requestId}));
}

} // namespace

QList<ListEntry> HolderListEntries(qint64 requestId, int kind)
{
    if (kind == 3)
        return withCommunicants(requestId);
    return entriesOf(database().query(holdersStatement(QuotedTablePath(QStringLiteral("Preemptori.dbf"))), {requestId}));
}

QString WriteHolderListTemplate(const QString &templatePath, const QList<ListEntry> &entries, QString *error)
{
    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Nu pot accesa modelul ") + QDir::toNativeSeparators(templatePath) + QStringLiteral("!");
        return {};
    }
    const QByteArray text = FillHolderList(in.readAll(), entries);
    const QString work = TempFileName(QStringLiteral("LP"), QStringLiteral(".rtf"));
    QFile out(work);
    if (work.isEmpty() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()
        || !out.flush()) {
        out.remove();
        *error = QStringLiteral("Nu pot scrie fisierul de lucru %1!").arg(QDir::toNativeSeparators(work));
        return {};
    }
    return work;
}
