// TSelPreeF ("Preemptori din Cerere"): the holders of a request who have not
// sent an acceptance communication yet, to pick the author of a new one.
#pragma once

#include "dialogs/requestlines.h"

#include <QDialog>

class BandedGrid;
class QLabel;
class QPushButton;

class TSelPreeF : public QDialog {
    Q_OBJECT
public:
    explicit TSelPreeF(QWidget *parent = nullptr);

    // Lists the holders of `requestId` whose name stands as buyer in none of
    // its communications. True after "&Am ales": chosenHolder() is then the
    // line chosen, until the next opening. Throws sqlstore::SqlError.
    bool ChooseOpenHolder(const QString &requestId);

    HolderLine chosenHolder() const { return chosen_; }

    QLabel *TitleL;
    BandedGrid *Px;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

private:
    void PxAfterOpen();
    void MemoButClick();

    HolderLine chosen_;
    bool saved_ = false;
};
