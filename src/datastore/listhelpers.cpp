#include "datastore/listhelpers.h"

#include "datastore/sql/database.h"

#include <QComboBox>

void SelectComboItem(QComboBox *box, const QString &text)
{
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            box->setCurrentIndex(i);
            return;
        }
    }
    box->setCurrentIndex(-1);
}

void FillDistinctList(QComboBox *box, const QString &tablePath, const QString &condition, const QString &column,
                      const QVariantList &parameters)
{
    QString sql = "SELECT DISTINCT " + column + "\nFROM \"" + tablePath + '"';
    if (!condition.trimmed().isEmpty())
        sql += "\nWHERE " + condition;
    sql += "\nORDER BY " + column;
    sqlstore::Query rows = sqlstore::database().query(sql, parameters);
    for (bool more = rows.first(); more; more = rows.next()) {
        const QString value = rows.value(0).toString();
        if (!value.trimmed().isEmpty())
            box->addItem(value);
    }
    if (box->count() > 0)
        box->setCurrentIndex(0);
}
