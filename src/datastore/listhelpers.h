// Filling and choosing in the drop-down lists of the dialogs.
#pragma once

#include <QString>
#include <QVariantList>

class QComboBox;

// Selects the first item of `box` equal to `text` without regard to case, or
// no item (index -1) when there is none.
void SelectComboItem(QComboBox *box, const QString &text);

// Adds to the list of `box`, in the order of the column, every distinct value
// of `column` of the table file `tablePath` whose trimmed text is not empty,
// restricted by `condition` (SQL, may be empty; "?" in it take `parameters`),
// then selects the first item. The list is not cleared first.
// Throws sqlstore::SqlError.
void FillDistinctList(QComboBox *box, const QString &tablePath, const QString &condition, const QString &column,
                      const QVariantList &parameters = {});
