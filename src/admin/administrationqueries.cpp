// The statements behind the administration dialog: the check that a register
// number is still free this year, and the rewrite of the acts' references to
// their requests after a change of numbering mode.
#include "admin/administration.h"

#include "datastore/schema.h"
#include "datastore/sql/database.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

using sqlstore::database;

namespace {

// The first row's `column`, or empty text when the statement returns no row.
QString firstValue(const QString &sql, const QVariantList &parameters, const QString &column)
{
    sqlstore::Query q = database().query(sql, parameters);
    return q.isEmpty() ? QString() : q.value(column).toString().trimmed();
}

qint64 requestNumber(const QPair<qint64, qint64> &numbers, int mode)
{
    return mode >= PerRequestNumbering ? numbers.second : numbers.first;
}

// "Cererea <old>" as a whole number becomes "Cererea <new>" (first occurrence).
bool replaceReference(QString &details, qint64 oldNumber, qint64 newNumber)
{
    static const QString prefix = QStringLiteral("Cererea ");
    const QRegularExpression reference(QRegularExpression::escape(prefix + QString::number(oldNumber))
                                       + QStringLiteral("(?!\\d)"));
    const QRegularExpressionMatch match = reference.match(details);
    if (!match.hasMatch())
        return false;
    details.replace(match.capturedStart(), match.capturedLength(), prefix + QString::number(newNumber));
    return true;
}

} // namespace

QString DuplicateNumberMessage(int numTip, qint64 number, int year)
{
    const QVariantList period{number, QDate(year, 1, 1), QDate(year + 1, 1, 1)};
    const bool perRequest = numTip >= PerRequestNumbering;
    const QString seller = firstValue(QStringLiteral("SELECT A.NR, B.VANZATOR\n")
                                          + QStringLiteral("FROM ") + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                                          + QStringLiteral(" A,\n") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
                                          + QStringLiteral(" B\nWHERE A.ID=B.ID AND B.NRCRT=1\n")
                                          + (perRequest ? QStringLiteral("AND A.NR2=?\n") : QStringLiteral("AND A.NR=?\n"))
                                          + QStringLiteral("AND A.DATAC>=?\nAND A.DATAC<?"),
                                      period, QStringLiteral("VANZATOR"));
    if (!seller.isEmpty())
        return QStringLiteral("Acest numar exista deja la Cererea lui ") + seller;
    if (perRequest)
        return {};
    const QString buyer = firstValue(QStringLiteral("SELECT CUMPARATOR\nFROM ")
                                         + QuotedTablePath(QStringLiteral("Comunicari.dbf"))
                                         + QStringLiteral("\nWHERE NR=?\nAND DATAC>=?\nAND DATAC<?"),
                                     period, QStringLiteral("CUMPARATOR"));
    if (!buyer.isEmpty())
        return QStringLiteral("Acest numar exista deja la Comunicarea/Oferta lui ") + buyer;
    const QString act = firstValue(QStringLiteral("SELECT TIPACT\nFROM ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                                       + QStringLiteral("\nWHERE NR=?\nAND DATAA>=?\nAND DATAA<?"),
                                   period, QStringLiteral("TIPACT"));
    if (!act.isEmpty())
        return QStringLiteral("Acest numar exista deja la un/o ") + act;
    return {};
}

int RewriteRequestReferences(int oldMode, int newMode)
{
    QHash<qint64, QPair<qint64, qint64>> numbers;
    sqlstore::Query requests = database().query(QStringLiteral("SELECT ID, NR, NR2\nFROM ")
                                                + QuotedTablePath(QStringLiteral("Cereri.dbf")) + QStringLiteral("\nORDER BY ID"));
    for (requests.first(); !requests.eof(); requests.next())
        numbers.insert(requests.value(QStringLiteral("ID")).toLongLong(),
                       {requests.value(QStringLiteral("NR")).toLongLong(),
                        requests.value(QStringLiteral("NR2")).toLongLong()});

    const QString acts = QuotedTablePath(QStringLiteral("AlteActe.dbf"));
    sqlstore::Query rows = database().query(QStringLiteral("SELECT IDA, ID, DETALII FROM ") + acts);
    int rewritten = 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        const auto request = numbers.constFind(rows.value(QStringLiteral("ID")).toLongLong());
        if (request == numbers.constEnd() || requestNumber(*request, oldMode) == requestNumber(*request, newMode))
            continue;
        QString details = rows.value(QStringLiteral("DETALII")).toString();
        if (!replaceReference(details, requestNumber(*request, oldMode), requestNumber(*request, newMode)))
            continue;
        database().exec(QStringLiteral("UPDATE ") + acts + QStringLiteral(" SET DETALII=? WHERE IDA=?"),
                        {details, rows.value(QStringLiteral("IDA"))});
        ++rewritten;
    }
    return rewritten;
}
