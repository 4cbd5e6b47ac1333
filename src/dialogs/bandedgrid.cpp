#include "dialogs/bandedgrid.h"

#include "dialogs/numericrules.h"

#include <QDate>
#include <QFont>
#include <QPainter>
#include <QStyleOptionHeader>

QueryModel::QueryModel(QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , columns_(std::move(columns))
{
}

void QueryModel::setQuery(sqlstore::Query query)
{
    beginResetModel();
    query_ = std::move(query);
    fieldIndex_.clear();
    for (const GridColumn &c : columns_)
        fieldIndex_ << query_.fieldIndex(c.field);
    endResetModel();
}

void QueryModel::setColumns(QList<GridColumn> columns)
{
    columns_ = std::move(columns);
    setQuery(std::move(query_));
}

void QueryModel::refresh()
{
    beginResetModel();
    endResetModel();
}

QString QueryModel::cellText(int row, int column) const
{
    QVariant value;
    const int field = fieldIndex_.value(column, -1);
    if (field >= 0) {
        value = query_.valueAt(row, field);
    } else if (computed_) {
        auto &q = const_cast<sqlstore::Query &>(query_);
        const int position = q.position();
        q.seek(row);
        value = computed_(q, columns_.at(column).field);
        q.seek(position);
    }
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::Double:
        return ShortestDecimal(value.toDouble());
    default:
        return value.toString();
    }
}

int QueryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || fieldIndex_.isEmpty() ? 0 : query_.rowCount();
}

int QueryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant QueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        const int field = fieldIndex_.value(index.column(), -1);
        const bool number = field >= 0 && query_.field(field).type == 'N';
        return QVariant::fromValue(Qt::Alignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    if (role == Qt::FontRole && columns_.at(index.column()).bold) {
        QFont f;
        f.setBold(true);
        return f;
    }
    return {};
}

QVariant GridHeaderData(const QList<GridColumn> &columns, int section, Qt::Orientation orientation, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return columns.at(section).caption;
    if (role == Qt::UserRole)
        return columns.at(section).band;
    return {};
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return GridHeaderData(columns_, section, orientation, role);
}

BandedHeader::BandedHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

QString BandedHeader::bandOf(int logicalIndex) const
{
    return model() ? model()->headerData(logicalIndex, Qt::Horizontal, Qt::UserRole).toString() : QString();
}

QSize BandedHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    // Two lines when any column has a band, so all captions sit level.
    for (int i = 0; i < count(); ++i) {
        if (!bandOf(i).isEmpty()) {
            size.setHeight(size.height() * 2);
            break;
        }
    }
    return size;
}

void BandedHeader::paintSection(QPainter *painter, const QRect &rect, int section) const
{
    const QString band = bandOf(section);
    const int half = rect.height() / 2;
    const QRect lower = band.isEmpty() ? rect : rect.adjusted(0, half, 0, 0);
    painter->save();
    painter->setClipRect(rect);
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = lower;
    option.section = section;
    option.text = model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
    option.textAlignment = Qt::AlignCenter;
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    if (!band.isEmpty()) {
        // The band spans the neighbouring columns of the same band; each
        // section paints its own slice of it.
        int first = visualIndex(section);
        int last = first;
        while (first > 0 && bandOf(logicalIndex(first - 1)) == band)
            --first;
        while (last + 1 < count() && bandOf(logicalIndex(last + 1)) == band)
            ++last;
        const int left = sectionViewportPosition(logicalIndex(first));
        const int right = sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
        QStyleOptionHeader bandOption;
        initStyleOption(&bandOption);
        bandOption.rect = QRect(left, rect.top(), right - left, half);
        bandOption.text = band;
        bandOption.textAlignment = Qt::AlignCenter;
        bandOption.position = QStyleOptionHeader::OnlyOneSection;
        QFont bold = painter->font();
        bold.setBold(true);
        painter->setFont(bold);
        style()->drawControl(QStyle::CE_Header, &bandOption, painter, this);
    }
    painter->restore();
}

BandedGrid::BandedGrid(QList<GridColumn> columns, QWidget *parent)
    : QTableView(parent)
    , model_(new QueryModel(std::move(columns), this))
{
    setHorizontalHeader(new BandedHeader(this));
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(verticalHeader()->fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
}

void BandedGrid::setQuery(sqlstore::Query query)
{
    model_->setQuery(std::move(query));
    fitColumns();
    // The reset left no current row: the first row becomes current (which
    // tells the listeners), or they learn that there is none.
    if (model_->rowCount() > 0)
        setCurrentRow(0);
    else
        emit currentRowChanged(-1);
}

int BandedGrid::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void BandedGrid::setCurrentRow(int row)
{
    if (row < 0 || row >= model_->rowCount()) {
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentIndex(model_->index(row, 0));
    scrollTo(model_->index(row, 0));
}

bool BandedGrid::locate(const QString &field, const QVariant &value)
{
    sqlstore::Query &q = model_->query();
    if (!q.locate(field, value))
        return false;
    setCurrentRow(q.position());
    return true;
}

void BandedGrid::fitColumns()
{
    const QFontMetrics metrics(font());
    const int rows = std::min(model_->rowCount(), 200);
    for (int c = 0; c < model_->columnCount(); ++c) {
        int width = metrics.horizontalAdvance(model_->columns().at(c).caption) + 16;
        for (int r = 0; r < rows; ++r)
            width = std::max(width, metrics.horizontalAdvance(model_->cellText(r, c)) + 12);
        setColumnWidth(c, std::min(width, 260));
    }
}
