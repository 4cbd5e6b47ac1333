// The values offered in the drop-down lists of the dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// Every distinct value of `column` of the table file `tablePath` whose trimmed
// text is not empty, in the order of the column, restricted by `condition`
// (SQL, may be empty; "?" in it take `parameters`). The dialogs add them to a
// list with AddComboItems. Throws sqlstore::SqlError.
QStringList FillDistinctList(const QString &tablePath, const QString &condition, const QString &column,
                             const QVariantList &parameters = {});
