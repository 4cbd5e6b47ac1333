#include "datastore/auditlog.h"

#include "platform/session.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"

#include <QDate>
#include <QTime>

namespace {

QString logTable() { return QuotedTablePath(QStringLiteral("Log.dbf")); }

} // namespace

void LogAction(const QString &action)
{
    const qlonglong id = TakeNextNumber(QStringLiteral("IDLOG")).toLongLong();
    sqlstore::database().exec("INSERT INTO " + logTable()
                                  + "\n(IDLOG, DATAL, ORA, ACTIUNE, UTILIZATOR)\nVALUES (?, ?, ?, ?, ?)",
                              {id, QDate::currentDate(), QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                               action, session().workstationUser});
}

void TrimLog()
{
    // The last row in file order is the newest one written.
    sqlstore::Query rows = sqlstore::database().query("SELECT * FROM " + logTable());
    if (rows.rowCount() < 1000)
        return;
    rows.last();
    const qlonglong last = rows.value(QStringLiteral("IDLOG")).toLongLong();
    sqlstore::database().exec("DELETE FROM " + logTable() + "\nWHERE IDLOG<?", {last - 1000});
}
