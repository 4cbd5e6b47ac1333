// The grid models of the register window: the requests (over RequestRegister,
// one value read per painted cell, no item per cell), and the computed
// columns of the communications and acts grids, which show query results
// through the dialogs' QueryModel.
#pragma once

#include "dialogs/bandedgrid.h"
#include "register/requestregister.h"

#include <QAbstractTableModel>

// The columns of the requests grid with their captions and bands.
QList<GridColumn> RegisterRequestColumns();
QList<GridColumn> RegisterAnswerColumns(bool stageOne);
QList<GridColumn> RegisterActColumns();

// The text a cell of the requests grid shows: dates "dd.MM.yyyy" (the
// computed deadlines too, empty when empty), numbers without trailing zeros,
// texts without trailing blanks.
QString RequestCellText(const RequestRegister &requests, int row, const QString &field);

class RequestsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RequestsModel(RequestRegister &requests, QObject *parent = nullptr);

    // The rows of the register changed (opened, refreshed, searched).
    void reload();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // The cell text; the row's HINTS as its tooltip.
    QVariant data(const QModelIndex &index, int role) const override;
    // Captions, and the band of a column for Qt::UserRole (BandedHeader).
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RequestRegister &requests_;
    QList<GridColumn> columns_;
};

// NRS and DATAEXPS of the communications and acts grids: NR in individual
// numbering, else NR2 + "/" + NR2PER; DATAEXP as a date when it is a real
// date, else "-".
ComputedField AnswerAndActColumns(bool perRequestNumbering);
