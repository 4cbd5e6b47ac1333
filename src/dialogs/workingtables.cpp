#include "dialogs/workingtables.h"

#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "platform/filehelpers.h"
#include "platform/inuse.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using sqlstore::database;
using sqlstore::Query;

namespace {

QString quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

// The 25 seller columns after IDV, ID and NRCRT, in file order.
const QString SellerValueColumns = QStringLiteral(
    "VANZATOR, CNPCUI, LOCV, ADRESA, JUDET, BI, BISERIA, BINR, BIELIB, BIDATA, TEL, "
    "MANDATAR, MCALITATE, MCONFORM, MCNPCUI, MLOCV, MADRESA, MJUDET, MCODPOST, MBI, MBISERIA, MBINR, "
    "MBIELIB, MBIDATA, MTEL");
const QString HolderValueColumns = QStringLiteral("RANG, TIPPF, NUME, ADRESA, POSTA, CNP, RC, CODPOSTAL, EMAIL, TEL");

QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

QVariantList sellerValues(const SellerLine &l)
{
    return {l.vanzator, l.cnpcui,   l.locv,     l.adresa,   l.judet,   l.bi,      l.biseria,
            l.binr,     l.bielib,   dateValue(l.bidata),    l.tel,     l.mandatar, l.mcalitate,
            l.mconform, l.mcnpcui,  l.mlocv,    l.madresa,  l.mjudet,  l.mcodpost, l.mbi,
            l.mbiseria, l.mbinr,    l.mbielib,  dateValue(l.mbidata),  l.mtel};
}

QVariantList holderValues(const HolderLine &l)
{
    return {l.rang, l.tippf, l.nume, l.adresa, l.posta ? QStringLiteral("DA") : QStringLiteral("NU"),
            l.cnp,  l.rc,    l.codpostal, l.email, l.tel};
}

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QString assignments(const QString &columns)
{
    QStringList parts;
    for (const QString &c : columns.split(QStringLiteral(", ")))
        parts << c.trimmed() + QStringLiteral("=?");
    return parts.join(QStringLiteral(", "));
}

QString text(const Query &q, const char *column)
{
    return q.value(QLatin1String(column)).toString();
}

void removeTableFile(const QString &path)
{
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)) {
        try {
            database().exec(QStringLiteral("DROP TABLE ") + quoted(path));
        } catch (const sqlstore::SqlError &) {
            // The file layer could not drop it; removing the file is enough.
        }
        QFile::remove(path);
    }
    platform::releaseInUse(path);
}

void insertSeller(const WorkingTables &tables, qlonglong idv, qlonglong id, int nrcrt, const SellerLine &line)
{
    QVariantList values{idv, id, nrcrt};
    values << sellerValues(line);
    database().exec(QStringLiteral("INSERT INTO ") + quoted(tables.sellers) + QStringLiteral(" (IDV, ID, NRCRT, ")
                        + SellerValueColumns + QStringLiteral(") VALUES (") + placeholders(values.size())
                        + QStringLiteral(")"),
                    values);
}

void insertHolder(const WorkingTables &tables, qlonglong idp, const QVariant &id, const HolderLine &line)
{
    QVariantList values{idp, id};
    values << holderValues(line);
    database().exec(QStringLiteral("INSERT INTO ") + quoted(tables.holders) + QStringLiteral(" (IDP, ID, ")
                        + HolderValueColumns + QStringLiteral(") VALUES (") + placeholders(values.size())
                        + QStringLiteral(")"),
                    values);
}

qlonglong nextId(const char *counter)
{
    return TakeNextNumber(QLatin1String(counter)).toLongLong();
}

int lineCount(const QString &table)
{
    return database().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + quoted(table)).toInt();
}

} // namespace

WorkingTables CreateWorkingTables(const QString &requestId)
{
    WorkingTables tables;
    try {
        tables.holders = TempFileName(QLatin1String(HolderTableStem), QLatin1String(WorkingTableExt));
        tables.sellers = TempFileName(QLatin1String(SellerTableStem), QLatin1String(WorkingTableExt));
        if (tables.holders.isEmpty() || tables.sellers.isEmpty())
            throw sqlstore::SqlError(QStringLiteral("Nu pot crea tabelele de lucru in ") + QDir::toNativeSeparators(QFileInfo(tables.holders.isEmpty() ? tables.sellers : tables.holders).absolutePath()));
        if (!QFileInfo::exists(tables.holders))
            database().exec(CreateTableStatement(QStringLiteral("Preemptori.dbf"), tables.holders));
        if (!QFileInfo::exists(tables.sellers))
            database().exec(CreateTableStatement(QStringLiteral("Vanzatori.dbf"), tables.sellers));
        if (requestId != QLatin1String("-1")) {
            const qlonglong id = requestId.toLongLong();
            database().exec(QStringLiteral("ALTER TABLE ") + quoted(tables.holders) + QStringLiteral(" ADD NUMEOLD CHAR(80)"));
            database().exec(QStringLiteral("INSERT INTO ") + quoted(tables.holders)
                                + QStringLiteral(" (IDP, ID, RANG, TIPPF, NUME, NUMEOLD, ADRESA, POSTA, CNP, RC, CODPOSTAL, EMAIL, TEL)"
                                                 " SELECT IDP, ID, RANG, TIPPF, NUME, NUME, ADRESA, POSTA, CNP, RC, CODPOSTAL, EMAIL, TEL FROM ")
                                + QuotedTablePath(QStringLiteral("Preemptori.dbf")) + QStringLiteral(" WHERE ID=?"),
                            {id});
            database().exec(QStringLiteral("INSERT INTO ") + quoted(tables.sellers) + QStringLiteral(" (IDV, ID, NRCRT, ")
                                + SellerValueColumns + QStringLiteral(") SELECT IDV, ID, NRCRT, ") + SellerValueColumns
                                + QStringLiteral(" FROM ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
                                + QStringLiteral(" WHERE ID=?"),
                            {id});
        }
    } catch (...) {
        DropWorkingTables(tables);
        throw;
    }
    return tables;
}

void DropWorkingTables(WorkingTables &tables)
{
    removeTableFile(tables.holders);
    removeTableFile(tables.sellers);
    tables = WorkingTables();
}

int RemoveStaleWorkingTables(const QString &folder)
{
    static const QRegularExpression workingName(QStringLiteral("^(TmpPre|TmpVanz)\\d+\\.DBF$"),
                                                QRegularExpression::CaseInsensitiveOption);
    int removed = 0;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (!workingName.match(name).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        // A table another running copy (or this one) still works on stays.
        if (platform::inUseByThisCopy(path) || IsFileHeldOpen(path))
            continue;
        if (QFile::remove(path))
            ++removed;
    }
    return removed;
}

SellerLine SellerLineOf(const Query &q)
{
    SellerLine l;
    l.idv = q.value(QStringLiteral("IDV")).toLongLong();
    l.id = q.value(QStringLiteral("ID")).toLongLong();
    l.nrcrt = q.value(QStringLiteral("NRCRT")).toInt();
    l.vanzator = text(q, "VANZATOR");
    l.cnpcui = text(q, "CNPCUI");
    l.locv = text(q, "LOCV");
    l.adresa = text(q, "ADRESA");
    l.judet = text(q, "JUDET");
    l.bi = text(q, "BI");
    l.biseria = text(q, "BISERIA");
    l.binr = text(q, "BINR");
    l.bielib = text(q, "BIELIB");
    l.bidata = q.value(QStringLiteral("BIDATA")).toDate();
    l.tel = text(q, "TEL");
    l.mandatar = text(q, "MANDATAR");
    l.mcalitate = text(q, "MCALITATE");
    l.mconform = text(q, "MCONFORM");
    l.mcnpcui = text(q, "MCNPCUI");
    l.mlocv = text(q, "MLOCV");
    l.madresa = text(q, "MADRESA");
    l.mjudet = text(q, "MJUDET");
    l.mcodpost = text(q, "MCODPOST");
    l.mbi = text(q, "MBI");
    l.mbiseria = text(q, "MBISERIA");
    l.mbinr = text(q, "MBINR");
    l.mbielib = text(q, "MBIELIB");
    l.mbidata = q.value(QStringLiteral("MBIDATA")).toDate();
    l.mtel = text(q, "MTEL");
    return l;
}

HolderLine HolderLineOf(const Query &q)
{
    HolderLine l;
    l.idp = q.value(QStringLiteral("IDP")).toLongLong();
    l.id = q.value(QStringLiteral("ID")).toLongLong();
    l.rang = q.value(QStringLiteral("RANG")).toInt();
    l.posta = text(q, "POSTA") == QLatin1String("DA");
    l.tippf = text(q, "TIPPF");
    l.nume = text(q, "NUME");
    l.adresa = text(q, "ADRESA");
    l.cnp = text(q, "CNP");
    l.rc = text(q, "RC");
    l.codpostal = text(q, "CODPOSTAL");
    l.email = text(q, "EMAIL");
    l.tel = text(q, "TEL");
    return l;
}

QList<SellerLine> SellerLines(const WorkingTables &tables)
{
    QList<SellerLine> lines;
    Query q = database().query(QStringLiteral("SELECT * FROM ") + quoted(tables.sellers) + QStringLiteral(" ORDER BY NRCRT"));
    for (q.first(); !q.eof(); q.next())
        lines << SellerLineOf(q);
    return lines;
}

QList<HolderLine> HolderLines(const WorkingTables &tables)
{
    QList<HolderLine> lines;
    Query q = database().query(QStringLiteral("SELECT * FROM ") + quoted(tables.holders) + QStringLiteral(" ORDER BY RANG, NUME"));
    for (q.first(); !q.eof(); q.next())
        lines << HolderLineOf(q);
    return lines;
}

int SellerLineCount(const WorkingTables &tables)
{
    return lineCount(tables.sellers);
}

int HolderLineCount(const WorkingTables &tables)
{
    return lineCount(tables.holders);
}

qlonglong AddSellerLine(const WorkingTables &tables, const SellerLine &line)
{
    const int nrcrt = SellerLineCount(tables) + 1;
    const qlonglong idv = nextId("IDV");
    insertSeller(tables, idv, 0, nrcrt, line);
    return idv;
}

void UpdateSellerLine(const WorkingTables &tables, const SellerLine &line)
{
    QVariantList values = sellerValues(line);
    values << line.idv;
    database().exec(QStringLiteral("UPDATE ") + quoted(tables.sellers) + QStringLiteral(" SET ")
                        + assignments(SellerValueColumns) + QStringLiteral(" WHERE IDV=?"),
                    values);
}

void DeleteSellerLine(const WorkingTables &tables, qlonglong idv)
{
    const QVariant nrcrt = database().scalar(QStringLiteral("SELECT NRCRT FROM ") + quoted(tables.sellers)
                                                 + QStringLiteral(" WHERE IDV=?"),
                                             {idv});
    database().exec(QStringLiteral("DELETE FROM ") + quoted(tables.sellers) + QStringLiteral(" WHERE IDV=?"), {idv});
    if (!nrcrt.isNull())
        database().exec(QStringLiteral("UPDATE ") + quoted(tables.sellers)
                            + QStringLiteral(" SET NRCRT=NRCRT-1 WHERE NRCRT>?"),
                        {nrcrt.toLongLong()});
}

bool AskAndDeleteSellerLine(const WorkingTables &tables, const SellerLine &line, Prompter &prompter)
{
    if (prompter.Mesaj(QStringLiteral("Stergere Vanzator"),
                       QStringLiteral("\rDoriti sa stergeti vanzatorul ") + line.vanzator + QStringLiteral(" ?"),
                       ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return false;
    DeleteSellerLine(tables, line.idv);
    return true;
}

bool CopyLastRequestSellers(const WorkingTables &tables, const QString &requestId, Prompter &prompter)
{
    const QString title = QStringLiteral("Copiere Vanzatori");
    if (prompter.Mesaj(title, QStringLiteral("\rSunt aceeasi Vanzatori de la ultima Cerere introdusa ?"),
                       ButtonDa | ButtonNu, KindWarning)
        != ResultYes)
        return false;
    const qlonglong maxId = database()
                                .scalar(QStringLiteral("SELECT MAX(ID) AS MAXID FROM ")
                                            + QuotedTablePath(QStringLiteral("Cereri.dbf")) + QStringLiteral(" WHERE ID<>?"),
                                        {requestId.toLongLong()})
                                .toLongLong();
    if (maxId == 0) {
        prompter.Mesaj(title, QStringLiteral("\rNu aveti nicio cerere introdusa anterior !"), ButtonOk, KindError);
        return false;
    }
    Query source = database().query(QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
                                        + QStringLiteral(" WHERE ID=? ORDER BY NRCRT"),
                                    {maxId});
    database().exec(QStringLiteral("DELETE FROM ") + quoted(tables.sellers));
    for (source.first(); !source.eof(); source.next()) {
        const SellerLine line = SellerLineOf(source);
        insertSeller(tables, nextId("IDV"), 0, line.nrcrt, line);
    }
    return true;
}

qlonglong AddHolderLine(const WorkingTables &tables, const HolderLine &line, const QString &requestId)
{
    const qlonglong idp = nextId("IDP");
    insertHolder(tables, idp, requestId.toLongLong(), line);
    return idp;
}

void UpdateHolderLine(const WorkingTables &tables, const HolderLine &line)
{
    QVariantList values = holderValues(line);
    values << line.idp;
    database().exec(QStringLiteral("UPDATE ") + quoted(tables.holders) + QStringLiteral(" SET ")
                        + assignments(HolderValueColumns) + QStringLiteral(" WHERE IDP=?"),
                    values);
}

void DeleteHolderLine(const WorkingTables &tables, qlonglong idp)
{
    database().exec(QStringLiteral("DELETE FROM ") + quoted(tables.holders) + QStringLiteral(" WHERE IDP=?"), {idp});
}

bool HolderNameExists(const WorkingTables &tables, const QString &name, qlonglong exceptIdp)
{
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + quoted(tables.holders) + QStringLiteral(" WHERE NUME=?");
    QVariantList values{name};
    if (exceptIdp != 0) {
        sql += QStringLiteral(" AND IDP<>?");
        values << exceptIdp;
    }
    return database().scalar(sql, values).toInt() > 0;
}

void CopyHolders(const WorkingTables &tables, const QString &sourceId)
{
    Query source = database().query(QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Preemptori.dbf"))
                                        + QStringLiteral(" WHERE ID=? ORDER BY RANG"),
                                    {sourceId.toLongLong()});
    database().exec(QStringLiteral("DELETE FROM ") + quoted(tables.holders));
    for (source.first(); !source.eof(); source.next())
        insertHolder(tables, nextId("IDP"), 0, HolderLineOf(source));
}

bool HolderChangeAllowed(HolderChange change, bool mayChangeHolders, Prompter &prompter)
{
    if (mayChangeHolders)
        return true;
    const QString tail = QStringLiteral(" decat la ultima Cerere!\rAr trebui sa renumerotam toate Actele eliberate ulterior.");
    switch (change) {
    case HolderChange::Add:
        prompter.Mesaj(QStringLiteral("Adaugare Preemptor"), QStringLiteral("\rNu puteti adauga Preemptori") + tail,
                       ButtonOk, KindError);
        break;
    case HolderChange::Delete:
        prompter.Mesaj(QStringLiteral("Stergere Preemptor"), QStringLiteral("\rNu puteti sterge Preemptori") + tail,
                       ButtonOk, KindError);
        break;
    case HolderChange::Copy:
        prompter.Mesaj(QStringLiteral("Copiere Preemptor"), QStringLiteral("\rNu puteti Copia Preemptorii") + tail,
                       ButtonOk, KindError);
        break;
    }
    return false;
}

bool AskAndDeleteHolderLine(const WorkingTables &tables, const HolderLine &line, Prompter &prompter)
{
    if (prompter.Mesaj(QStringLiteral("Stergere Preemptor"), QStringLiteral("\rStergem preemptorul ") + line.nume + QStringLiteral(" ?"),
                       ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return false;
    DeleteHolderLine(tables, line.idp);
    return true;
}
