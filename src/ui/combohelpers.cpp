#include "ui/combohelpers.h"

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

void AddComboItems(QComboBox *box, const QStringList &values)
{
    box->addItems(values);
    if (box->count() > 0)
        box->setCurrentIndex(0);
}
