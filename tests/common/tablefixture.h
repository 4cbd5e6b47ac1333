// Rows written into the real tables of the session's data folder, for tests
// that need requests, sellers, communications and acts.
#pragma once

#include "datastore/schema.h"
#include "datastore/sql/database.h"

#include <QDate>
#include <QString>

namespace tablefixture {

// A request with its first seller.
inline void addRequest(int id, int nr, int nr2, const QDate &datac, int stare, const QString &pv1,
                       const QString &seller)
{
    sqlstore::database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                                  + QStringLiteral(" (ID, NR, NR2, DATAC, STARE, PV1) VALUES (?, ?, ?, ?, ?, ?)"),
                              {id, nr, nr2, datac, stare, pv1});
    sqlstore::database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
                                  + QStringLiteral(" (IDV, ID, NRCRT, VANZATOR) VALUES (?, ?, 1, ?)"),
                              {id, id, seller});
}

inline void addCommunication(int idc, int id, int nr, const QDate &datac, const QString &buyer)
{
    sqlstore::database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QStringLiteral("Comunicari.dbf"))
                                  + QStringLiteral(" (IDC, ID, NR, DATAC, CUMPARATOR, RANG) VALUES (?, ?, ?, ?, ?, 1)"),
                              {idc, id, nr, datac, buyer});
}

inline void addAct(int ida, int id, int nr, const QDate &dataa, const QString &kind, const QString &details)
{
    sqlstore::database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                                  + QStringLiteral(" (IDA, ID, NR, DATAA, TIPACT, DETALII) VALUES (?, ?, ?, ?, ?, ?)"),
                              {ida, id, nr, dataa, kind, details});
}

inline QString actDetails(int ida)
{
    return sqlstore::database()
        .scalar(QStringLiteral("SELECT DETALII FROM ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                    + QStringLiteral(" WHERE IDA=?"),
                {ida})
        .toString()
        .trimmed();
}

} // namespace tablefixture
