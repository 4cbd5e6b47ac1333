// Filling and choosing in the drop-down lists of the dialogs.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

// Selects the first item of `box` equal to `text` without regard to case, or
// no item (index -1) when there is none.
void SelectComboItem(QComboBox *box, const QString &text);

// Adds `values` (as FillDistinctList gives them) to the list of `box`, which
// is not cleared first, then selects its first item.
void AddComboItems(QComboBox *box, const QStringList &values);
