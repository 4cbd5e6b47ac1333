#include "register/actrows.h"

#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "platform/session.h"
#include "register/cacheddocuments.h"
#include "register/deadlines.h"
#include "register/registerqueries.h"
#include "register/registersettings.h"
#include "register/registerstatus.h"

using sqlstore::database;

QString FitActText(const QString &text)
{
    return text.left(80);
}

QString NextEntryNumber(qlonglong id)
{
    if (!LoadRegisterSettings().perRequestNumbering)
        return PeekNextNumber(QStringLiteral("NR"));
    return EntryDisplayNumber(0, LoadRequestFile(id).nr2, NextFileNumber(id), true);
}

qlonglong TakeRegisterNumber()
{
    return TakeNextNumber(QStringLiteral("NR")).toLongLong();
}

void ResetRegisterCounter()
{
    sqlstore::Transaction reset(session().dataFolder);
    NextActNumber();
    reset.commit();
}

qlonglong InsertActRow(const ActRow &row, qlonglong nr)
{
    const qlonglong ida = TakeNextNumber(QStringLiteral("IDA")).toLongLong();
    // An id given out again must not find the document of the act it had.
    RemoveActDocument(ida);
    database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                        + QStringLiteral("\n(IDA, ID, BLOCAT, NR, NR2, NR2PER, DATAA, DATAEXP, MODUL, EMITENT, "
                                         "DESTINATAR, TIPACT, DETALII, IDC)\n"
                                         "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {ida, row.id, row.blocat, nr, row.nr2, row.nr2per, row.dataa, row.dataexp, row.modul,
                     FitActText(row.emitent), FitActText(row.destinatar), FitActText(row.tipact), FitActText(row.detalii), row.idc});
    return ida;
}

RequestFile LoadRequestFile(qlonglong id)
{
    sqlstore::Query row = database().query(QStringLiteral("SELECT NR, NR2, STARE, PV1, PRET FROM ")
                                               + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                                               + QStringLiteral("\nWHERE ID=?"),
                                           {id});
    if (row.isEmpty())
        throw sqlstore::SqlError(QStringLiteral("Cererea nu mai exista in baza de date."));
    RequestFile r;
    r.id = id;
    r.nr = row.value(QStringLiteral("NR")).toLongLong();
    r.nr2 = row.value(QStringLiteral("NR2")).toLongLong();
    r.stare = row.value(QStringLiteral("STARE")).toInt();
    r.stageTwo = !InStageOne(row.value(QStringLiteral("PV1")).toString());
    r.pret = row.value(QStringLiteral("PRET")).toDouble();
    r.firstSeller = database()
                        .scalar(QStringLiteral("SELECT VANZATOR FROM ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
                                    + QStringLiteral("\nWHERE ID=? AND NRCRT=1"),
                                {id})
                        .toString()
                        .trimmed();
    r.displayNumber = RequestDisplayNumber(r.nr, r.nr2, LoadRegisterSettings().perRequestNumbering);
    return r;
}
