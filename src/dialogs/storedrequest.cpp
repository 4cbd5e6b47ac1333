#include "dialogs/storedrequest.h"

#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "dialogs/numericrules.h"

bool LoadStoredRequest(qlonglong id, RequestFields &f, QString &share)
{
    sqlstore::Query q = sqlstore::database().query(
        QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Cereri.dbf")) + QStringLiteral(" WHERE ID=?"), {id});
    if (q.isEmpty())
        return false;
    const auto text = [&q](const char *column) { return q.value(QLatin1String(column)).toString(); };
    const auto number = [&q](const char *column) { return ShortestDecimal(q.value(QLatin1String(column)).toDouble()); };
    f.nr = number(NumberingType() == 1 ? "NR" : "NR2");
    f.nrDosar = text("NRDOSAR");
    f.dataC = q.value(QStringLiteral("DATAC")).toDate();
    f.tipPF = text("TIPPF");
    f.supraf = text("SUPRAF");
    f.cotaParteS = text("COTAPARTES");
    f.faraContr = text("FARACONTR") == QLatin1String("X") ? QStringLiteral("DA") : QStringLiteral("NU");
    f.pret = number("PRET");
    f.nrCad = text("NRCAD");
    f.nrCarte = text("NRCARTE");
    f.tarla = text("TARLA");
    f.nrTarla = text("NRTARLA");
    f.nrParc = text("NRPARC");
    f.categ = text("CATEG");
    f.functionar = text("FUNCTIONAR");
    f.nrV = number("NRV");
    f.litigii = text("LITIGII");
    f.grevat = text("GREVAT");
    f.conditii = text("CONDITII").trimmed();
    share = text("COTAPARTE");
    return true;
}

bool IsNewestRequest(qlonglong id)
{
    return sqlstore::database()
               .scalar(QStringLiteral("SELECT MAX(ID) FROM ") + QuotedTablePath(QStringLiteral("Cereri.dbf")))
               .toLongLong()
           == id;
}
