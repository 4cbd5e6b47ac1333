#include "register/requestregister.h"

#include "datastore/calendar.h"
#include "datastore/schema.h"

using sqlstore::database;

namespace {

const QString kCereri = QStringLiteral("Cereri.dbf");
const QString kVanzatori = QStringLiteral("Vanzatori.dbf");

qint64 memoKey(int datac, int stare, bool stageOne)
{
    return (qint64(datac) << 8) | (qint64(stare & 0x7f) << 1) | (stageOne ? 1 : 0);
}

// Computed columns that do not come from the deadlines.
QVariant computedValue(const RequestColumns &c, const QString &column)
{
    if (column == QLatin1String("NRS"))
        return c.NRS;
    if (column == QLatin1String("ZileRamase"))
        return c.ZileRamase;
    if (column == QLatin1String("STARES"))
        return c.STARES;
    if (column == QLatin1String("HINTS"))
        return c.HINTS;
    if (column == QLatin1String("Expirat"))
        return c.Expirat;
    if (column == QLatin1String("DataScad1"))
        return c.DataScad1;
    if (column == QLatin1String("DataScad2"))
        return c.DataScad2;
    if (column == QLatin1String("DataScad"))
        return c.DataScad;
    return {};
}

} // namespace

void RequestRegister::open(const RegisterSettings &settings, const QDate &today)
{
    settings_ = settings;
    close();
    refresh(today);
}

void RequestRegister::close()
{
    read_ = false;
    requests_ = sqlstore::Query();
    sellers_ = sqlstore::Query();
    patches_.clear();
    changed_.clear();
    rows_.clear();
    visible_.clear();
    rowById_.clear();
    memo_.clear();
}

void RequestRegister::noteChange(const RequestChange &change)
{
    if (read_ && change.before == requestsSeen_) {
        requestsSeen_ = change.after;
        changed_.insert(change.id);
    }
}

void RequestRegister::readRequests()
{
    requestsSeen_ = ReadTableSignature(kCereri);
    requests_ = database().query(RequestsStatement(settings_.perRequestNumbering));
    columns_.id = requests_.fieldIndex(QStringLiteral("ID"));
    columns_.datac = requests_.fieldIndex(QStringLiteral("DATAC"));
    columns_.stare = requests_.fieldIndex(QStringLiteral("STARE"));
    columns_.pv1 = requests_.fieldIndex(QStringLiteral("PV1"));
    columns_.nr = requests_.fieldIndex(QStringLiteral("NR"));
    columns_.nr2 = requests_.fieldIndex(QStringLiteral("NR2"));
    patches_.clear();
    changed_.clear();
}

void RequestRegister::readSellers()
{
    sellersSeen_ = ReadTableSignature(kVanzatori);
    sellers_ = database().query(FirstSellersStatement());
}

void RequestRegister::refresh(const QDate &todayDate)
{
    const int today = ToDaySerial(todayDate);
    QSet<int> extraHolidays = ExtraHolidays();
    const bool newDay = today != today_ || extraHolidays != extraHolidays_;
    if (newDay)
        memo_.clear();
    today_ = today;
    extraHolidays_ = std::move(extraHolidays);
    const bool requestsChanged = !read_ || ReadTableSignature(kCereri) != requestsSeen_;
    const bool sellersChanged = !read_ || ReadTableSignature(kVanzatori) != sellersSeen_;
    if (requestsChanged)
        readRequests();
    if (sellersChanged)
        readSellers();
    read_ = true;
    std::vector<int> reread;
    if (requestsChanged || sellersChanged || !rereadChanged(&reread)) {
        rebuildRows();
    } else if (newDay) {
        for (Row &row : rows_)
            computeColumns(row);
    } else {
        for (const int r : reread)
            computeColumns(rows_[r]);
    }
    applySearch();
}

// Reads the requests this process changed (their rows go into `reread`);
// false when one of them moved in the register's order (or went away), so
// that the rows must be built again.
bool RequestRegister::rereadChanged(std::vector<int> *reread)
{
    const QString order = settings_.perRequestNumbering ? QStringLiteral("NR2") : QStringLiteral("NR");
    bool inPlace = true;
    for (const qlonglong id : std::as_const(changed_)) {
        const int at = rowById_.value(id, -1);
        sqlstore::Query one = database().query(QStringLiteral("SELECT * FROM ") + QuotedTablePath(kCereri)
                                                   + QStringLiteral("\nWHERE ID=?"),
                                               {id});
        if (at < 0 || one.rowCount() != 1) {
            inPlace = false;
            continue;
        }
        const Row &row = rows_[at];
        if (one.value(QStringLiteral("DATAC")) != requestValue(row, QStringLiteral("DATAC"))
            || one.value(order) != requestValue(row, order))
            inPlace = false;
        patches_[row.request] = std::move(one);
        reread->push_back(at);
    }
    changed_.clear();
    if (!inPlace)
        readRequests();
    return inPlace;
}

void RequestRegister::rebuildRows()
{
    QHash<qlonglong, int> sellerOf;
    sellerOf.reserve(sellers_.rowCount());
    const int sellerId = sellers_.fieldIndex(QStringLiteral("ID"));
    for (int r = sellers_.rowCount() - 1; r >= 0; --r)
        sellerOf.insert(sellers_.valueAt(r, sellerId).toLongLong(), r);
    rows_.clear();
    rowById_.clear();
    rows_.reserve(requests_.rowCount());
    for (int r = 0; r < requests_.rowCount(); ++r) {
        const QVariant id = requests_.valueAt(r, columns_.id);
        const auto seller = sellerOf.constFind(id.toLongLong());
        if (id.isNull() || seller == sellerOf.constEnd())
            continue;
        Row row;
        row.request = r;
        row.seller = *seller;
        computeColumns(row);
        rowById_.insert(id.toLongLong(), int(rows_.size()));
        rows_.push_back(std::move(row));
    }
}

void RequestRegister::computeColumns(Row &row)
{
    int stored = 0;
    const sqlstore::Query &source = requestSource(row, &stored);
    RequestFacts facts;
    const QDate datac = source.valueAt(stored, columns_.datac).toDate();
    facts.datac = datac.isValid() ? ToDaySerial(datac) : 0;
    facts.stare = source.valueAt(stored, columns_.stare).toInt();
    facts.pv1 = source.valueAt(stored, columns_.pv1).toString().trimmed();
    facts.nr = source.valueAt(stored, columns_.nr).toLongLong();
    facts.nr2 = source.valueAt(stored, columns_.nr2).toLongLong();
    const qint64 key = memoKey(facts.datac, facts.stare, facts.pv1 == QLatin1String("N"));
    auto known = memo_.find(key);
    if (known == memo_.end())
        known = memo_.emplace(key, ComputeRequestColumns(facts, settings_.terms, settings_.perRequestNumbering, today_,
                                                         extraHolidays_))
                    .first;
    row.columns = known->second;
    row.columns.NRS = RequestDisplayNumber(facts.nr, facts.nr2, settings_.perRequestNumbering);
}

const sqlstore::Query &RequestRegister::requestSource(const Row &row, int *storedRow) const
{
    const auto patch = patches_.find(row.request);
    if (patch != patches_.end()) {
        *storedRow = 0;
        return patch->second;
    }
    *storedRow = row.request;
    return requests_;
}

QVariant RequestRegister::requestValue(const Row &row, const QString &column) const
{
    int stored = 0;
    const sqlstore::Query &source = requestSource(row, &stored);
    const int c = source.fieldIndex(column);
    return c < 0 ? QVariant() : source.valueAt(stored, c);
}

void RequestRegister::setSearch(const QString &seller, qlonglong number)
{
    searchSeller_ = seller.trimmed();
    searchNumber_ = number;
    applySearch();
}

void RequestRegister::applySearch()
{
    visible_.clear();
    visible_.reserve(rows_.size());
    const QString numberColumn = settings_.perRequestNumbering ? QStringLiteral("NR2") : QStringLiteral("NR");
    const int sellerName = sellers_.fieldIndex(QStringLiteral("VANZATOR"));
    for (int r = 0; r < int(rows_.size()); ++r) {
        const Row &row = rows_[r];
        if (searchNumber_ > 0) {
            if (requestValue(row, numberColumn).toLongLong() != searchNumber_)
                continue;
        } else if (!searchSeller_.isEmpty()) {
            if (sellers_.valueAt(row.seller, sellerName).toString().trimmed() != searchSeller_)
                continue;
        }
        visible_.push_back(r);
    }
}

QVariant RequestRegister::value(int visibleRow, const QString &column) const
{
    const Row &row = rows_[visible_[visibleRow]];
    const QVariant computed = computedValue(row.columns, column);
    if (computed.isValid())
        return computed;
    int stored = 0;
    const sqlstore::Query &source = requestSource(row, &stored);
    const int c = source.fieldIndex(column);
    if (c >= 0)
        return source.valueAt(stored, c);
    const int s = sellers_.fieldIndex(column);
    return s < 0 ? QVariant() : sellers_.valueAt(row.seller, s);
}

const RequestColumns &RequestRegister::columns(int visibleRow) const
{
    return rows_[visible_[visibleRow]].columns;
}

qlonglong RequestRegister::id(int visibleRow) const
{
    return value(visibleRow, QStringLiteral("ID")).toLongLong();
}

int RequestRegister::stare(int visibleRow) const
{
    return value(visibleRow, QStringLiteral("STARE")).toInt();
}

QString RequestRegister::pv1(int visibleRow) const
{
    return value(visibleRow, QStringLiteral("PV1")).toString().trimmed();
}

int RequestRegister::rowOfId(qlonglong id) const
{
    const int r = rowById_.value(id, -1);
    if (r < 0)
        return -1;
    const auto at = std::lower_bound(visible_.begin(), visible_.end(), r);
    return at != visible_.end() && *at == r ? int(at - visible_.begin()) : -1;
}
