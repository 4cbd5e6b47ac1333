#include "datastore/listhelpers.h"

#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"

QStringList FillDistinctList(const QString &tablePath, const QString &condition, const QString &column,
                             const QVariantList &parameters)
{
    QString sql = "SELECT DISTINCT " + column + "\nFROM " + sqlstore::quoteName(tablePath);
    if (!condition.trimmed().isEmpty())
        sql += "\nWHERE " + condition;
    sql += "\nORDER BY " + column;
    QStringList values;
    sqlstore::Query rows = sqlstore::database().query(sql, parameters);
    for (bool more = rows.first(); more; more = rows.next()) {
        const QString value = rows.value(0).toString();
        if (!value.trimmed().isEmpty())
            values.append(value);
    }
    return values;
}
