// The read-only grids of the entry dialogs: rows of a query shown in named
// columns, some grouped under a band caption drawn above their own captions
// ("C.I." over "Act", "Seria", "Numar" …), whole-row selection.
//
//   auto *grid = new BandedGrid({{"Nr. crt.", "NRCRT"}, {"Act", "BI", "C.I."}}, this);
//   grid->setQuery(database().query("SELECT * FROM ..."));
#pragma once

#include "datastore/sql/database.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QList>
#include <QTableView>

#include <functional>

struct GridColumn {
    GridColumn(QString caption, QString field, QString band = QString(), bool bold = false)
        : caption(std::move(caption)), field(std::move(field)), band(std::move(band)), bold(bold)
    {
    }
    // Caption in the column's header.
    QString caption;
    // Field of the query (or of the computed values).
    QString field;
    // Caption of the band above it; empty for a column without a band.
    QString band;
    // Bold values.
    bool bold = false;
};

// The header of a grid model over `columns`: the caption, and the band as
// Qt::UserRole, which the banded header draws above it.
QVariant GridHeaderData(const QList<GridColumn> &columns, int section, Qt::Orientation orientation, int role);

// A computed column's value for a row (the query stands on that row).
using ComputedField = std::function<QVariant(const sqlstore::Query &row, const QString &field)>;

class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    QueryModel(QList<GridColumn> columns, QObject *parent = nullptr);

    void setQuery(sqlstore::Query query);
    sqlstore::Query &query() { return query_; }
    // Other captions and bands over the same rows (a stage's own names).
    void setColumns(QList<GridColumn> columns);
    // Called for every field the query does not have.
    void setComputed(ComputedField computed) { computed_ = std::move(computed); }
    // Tells the views that the visible rows changed (after a filter).
    void refresh();

    const QList<GridColumn> &columns() const { return columns_; }
    // The value a cell shows: dates "dd.MM.yyyy", numbers without trailing zeros.
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<GridColumn> columns_;
    sqlstore::Query query_;
    ComputedField computed_;
    // Query column of each grid column, -1 for computed.
    QList<int> fieldIndex_;
};

// A horizontal header of two lines: the band captions above, spanning their
// columns, and the column captions below.
class BandedHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit BandedHeader(QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QString bandOf(int logicalIndex) const;
};

class BandedGrid : public QTableView {
    Q_OBJECT
public:
    BandedGrid(QList<GridColumn> columns, QWidget *parent = nullptr);

    QueryModel *queryModel() const { return model_; }
    void setQuery(sqlstore::Query query);
    int rowCount() const { return model_->rowCount(); }
    // The current row (-1 when the grid is empty) and moving to a row.
    int currentRow() const;
    void setCurrentRow(int row);
    // Moves to the first row whose `field` equals `value`; false when none.
    bool locate(const QString &field, const QVariant &value);
    // Widths that fit the captions and the values shown.
    void fitColumns();

signals:
    void currentRowChanged(int row);

private:
    QueryModel *model_;
};
