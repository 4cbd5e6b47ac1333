// TAlegePree: chooses, among the communications or offers of a request, the
// one that wins when a stage is closed. The grid shows the list the register
// gives it (setList); the register renames the bands and hides "Rang" for
// offers.
#pragma once

#include "datastore/sql/database.h"

#include <QDialog>

class BandedGrid;
class QPushButton;

class TAlegePree : public QDialog {
    Q_OBJECT
public:
    explicit TAlegePree(QWidget *parent = nullptr);

    // The communications or offers to choose among (columns of Comunicari,
    // NRS computed by the numbering mode).
    void setList(sqlstore::Query list);

    // Caption "Alegere Preemptor" for communications, else "Alegere
    // Ofertant"; true only after "&Am ales", chosenRow() then being the row.
    bool ChooseWinner(bool communications);

    int chosenRow() const { return chosenRow_; }
    sqlstore::Query &list();

    BandedGrid *Cx;
    QPushButton *MemoBut;
    QPushButton *RenuntBut;

private:
    void MemoButClick();

    bool chosen_ = false;
    int chosenRow_ = -1;
};
