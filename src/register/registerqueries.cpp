#include "register/registerqueries.h"

#include "datastore/dbf/tablefile.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "platform/session.h"

#include <optional>

using sqlstore::database;

namespace {

QString cereri()
{
    return QuotedTablePath(QStringLiteral("Cereri.dbf"));
}

qlonglong wholeNumber(const QVariant &value)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    return !value.isNull() && ok ? qlonglong(d) : 0;
}

RequestChange writeRequest(qlonglong id, const QString &assignment, const QVariant &value)
{
    // Part of a larger operation, or an operation of its own.
    std::optional<sqlstore::Transaction> operation;
    if (!database().inTransaction())
        operation.emplace(session().dataFolder);
    RequestChange change;
    change.id = id;
    change.before = ReadTableSignature(QStringLiteral("Cereri.dbf"));
    database().exec(QStringLiteral("UPDATE ") + cereri() + QStringLiteral("\nSET ") + assignment
                        + QStringLiteral("=?\nWHERE ID=?"),
                    {value, id});
    change.after = ReadTableSignature(QStringLiteral("Cereri.dbf"));
    if (operation)
        operation->commit();
    return change;
}

} // namespace

TableSignature ReadTableSignature(const QString &fileName)
{
    try {
        auto table = dbf::TableFile::open(TablePath(fileName));
        table->begin(dbf::LockMode::Shared);
        TableSignature s{table->header().changeCounter, table->rowCount()};
        table->end();
        return s;
    } catch (const dbf::DbfError &e) {
        throw sqlstore::SqlError(e.message());
    }
}

QString RegisterStatement(bool perRequestNumbering)
{
    return QStringLiteral("SELECT A.*,\n"
                          "B.VANZATOR, B.CNPCUI, B.LOCV, B.ADRESA, B.JUDET, B.TEL, B.MANDATAR, B.MCALITATE, "
                          "B.MCONFORM, B.MTEL,\n"
                          "B.MCNPCUI, B.MLOCV, B.MADRESA, B.MJUDET, B.MCODPOST, B.MBI, B.MBISERIA, B.MBINR, "
                          "B.MBIELIB, B.MBIDATA\n"
                          "FROM ")
           + cereri() + QStringLiteral(" A\nFULL JOIN ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
           + QStringLiteral(" B\n  ON A.ID=B.ID\nWHERE B.NRCRT=1\nORDER BY A.DATAC, ")
           + (perRequestNumbering ? QStringLiteral("A.NR2") : QStringLiteral("A.NR"));
}

QString RequestsStatement(bool perRequestNumbering)
{
    return QStringLiteral("SELECT * FROM ") + cereri() + QStringLiteral("\nORDER BY DATAC, ")
           + (perRequestNumbering ? QStringLiteral("NR2") : QStringLiteral("NR"));
}

QString FirstSellersStatement()
{
    return QStringLiteral("SELECT ID, VANZATOR, CNPCUI, LOCV, ADRESA, JUDET, TEL, MANDATAR, MCALITATE, MCONFORM, "
                          "MTEL,\nMCNPCUI, MLOCV, MADRESA, MJUDET, MCODPOST, MBI, MBISERIA, MBINR, MBIELIB, "
                          "MBIDATA\nFROM ")
           + QuotedTablePath(QStringLiteral("Vanzatori.dbf")) + QStringLiteral("\nWHERE NRCRT=1");
}

RequestChange SetRequestState(qlonglong id, int stare)
{
    return writeRequest(id, QStringLiteral("STARE"), stare);
}

RequestChange SetRequestStage(qlonglong id, bool stageTwo)
{
    return writeRequest(id, QStringLiteral("PV1"), stageTwo ? QStringLiteral("D") : QStringLiteral("N"));
}

int NextFileNumber(qlonglong id)
{
    const auto largest = [id](const char *table) {
        return wholeNumber(database().scalar(QStringLiteral("SELECT MAX(NR2PER) AS NRX FROM ")
                                                 + QuotedTablePath(QLatin1String(table))
                                                 + QStringLiteral("\nWHERE ID=?"),
                                             {id}));
    };
    return int(std::max(largest("Comunicari.dbf"), largest("AlteActe.dbf")) + 1);
}

bool StageHasAnswers(qlonglong id, bool stageTwo)
{
    const QString rank = stageTwo ? QStringLiteral("RANG=100") : QStringLiteral("RANG<100");
    return database()
               .scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QuotedTablePath(QStringLiteral("Comunicari.dbf"))
                           + QStringLiteral("\nWHERE ID=? AND ") + rank,
                       {id})
               .toLongLong()
           > 0;
}
