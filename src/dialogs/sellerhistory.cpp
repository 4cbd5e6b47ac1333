#include "dialogs/sellerhistory.h"

#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/collation.h"
#include "datastore/sql/database.h"
#include "dialogs/cnprules.h"
#include "dialogs/workingtables.h"

#include <QHash>

#include <vector>

#include <algorithm>

#include <filesystem>
#include <functional>
#include <system_error>

namespace {

const QString Temp = QStringLiteral("TEMP");

// The text keys of "TEMP" with the field each one holds.
QList<std::pair<const char *, QString SellerLine::*>> textKeys()
{
    return {{"VANZATOR", &SellerLine::vanzator}, {"CNPCUI", &SellerLine::cnpcui},   {"LOCV", &SellerLine::locv},
            {"ADRESA", &SellerLine::adresa},     {"BI", &SellerLine::bi},           {"BISERIA", &SellerLine::biseria},
            {"BINR", &SellerLine::binr},         {"BIELIB", &SellerLine::bielib},   {"TEL", &SellerLine::tel},
            {"MANDATAR", &SellerLine::mandatar}, {"MCALITATE", &SellerLine::mcalitate},
            {"MCONFORM", &SellerLine::mconform}, {"MCNPCUI", &SellerLine::mcnpcui}, {"MLOCV", &SellerLine::mlocv},
            {"MADRESA", &SellerLine::madresa},   {"MCODPOST", &SellerLine::mcodpost}, {"MBI", &SellerLine::mbi},
            {"MBISERIA", &SellerLine::mbiseria}, {"MBINR", &SellerLine::mbinr},   {"MBIELIB", &SellerLine::mbielib},
            {"MTEL", &SellerLine::mtel}};
}

qint64 wholeNumber(const char *key)
{
    return ReadSettingNumber(Temp, QLatin1String(key)) / 10000;
}

QDate dayOf(const char *key)
{
    return ZeroDate().addDays(wholeNumber(key));
}

qint64 dayCount(const QDate &date)
{
    return date.isValid() ? ZeroDate().daysTo(date) : 0;
}

// What a table file looks like from outside: any write by any process
// changes its modification time (nanoseconds) or its size.
struct FileStamp {
    QString path;
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    bool operator==(const FileStamp &) const = default;
};

bool stampOf(const QString &path, FileStamp &stamp)
{
    std::error_code error;
    const std::filesystem::path file(path.toStdString());
    stamp.path = path;
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error)
        return false;
    stamp.size = std::filesystem::file_size(file, error);
    return !error;
}

// The list as last read, with the stamp of the file it was read from.
struct EarlierSellersCache {
    FileStamp stamp;
    bool valid = false;
    QList<EarlierSeller> sellers;
};

EarlierSellersCache &earlierSellersCache()
{
    static EarlierSellersCache cache;
    return cache;
}

// The newest line of each name and code, by name in the Romanian order: the
// statement "SELECT MAX(IDV) AS IDV, VANZATOR, CNPCUI ... GROUP BY VANZATOR,
// CNPCUI ORDER BY VANZATOR", with the grouping done here and the sort on the
// keys of the engine's own Romanian order (a, ă, â, b ... s, ș, t, ț ...,
// case ignored), several times faster than sorting every line in the engine.
QList<EarlierSeller> readEarlierSellers()
{
    sqlstore::Query q = sqlstore::database().query(QStringLiteral("SELECT IDV, VANZATOR, CNPCUI FROM ")
                                                   + QuotedTablePath(QStringLiteral("Vanzatori.dbf")));
    // Name and code as one key: a unit separator cannot stand in either.
    QHash<QString, qsizetype> entryOf;
    QList<EarlierSeller> sellers;
    entryOf.reserve(q.rowCount());
    sellers.reserve(q.rowCount());
    for (q.first(); !q.eof(); q.next()) {
        const qlonglong idv = q.value(0).toLongLong();
        const QString name = q.value(1).toString();
        const QString key = name + QChar(0x1f) + q.value(2).toString();
        const auto found = entryOf.constFind(key);
        if (found == entryOf.constEnd()) {
            entryOf.insert(key, sellers.size());
            sellers.append({name, idv});
        } else if (sellers[*found].idv < idv) {
            sellers[*found].idv = idv;
        }
    }
    std::vector<std::pair<QByteArray, qsizetype>> order;
    order.reserve(sellers.size());
    for (qsizetype i = 0; i < sellers.size(); ++i)
        order.emplace_back(sqlstore::romanianSortKey(sellers.at(i).name), i);
    std::stable_sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<EarlierSeller> sorted;
    sorted.reserve(sellers.size());
    for (const auto &entry : order)
        sorted.append(sellers.at(entry.second));
    return sorted;
}

} // namespace

QList<EarlierSeller> EarlierSellers()
{
    // Reading every seller line of a busy town hall takes far longer than an
    // opening of the dialog may, so the list is kept while the file has not
    // changed; any write to it, from any workstation, makes it read anew.
    EarlierSellersCache &cache = earlierSellersCache();
    FileStamp before;
    const bool stamped = stampOf(TablePath(QStringLiteral("Vanzatori.dbf")), before);
    if (stamped && cache.valid && cache.stamp == before)
        return cache.sellers;
    QList<EarlierSeller> sellers = readEarlierSellers();
    FileStamp after;
    // Kept only when nothing wrote to the file while it was read.
    cache.valid = stamped && stampOf(before.path, after) && after == before;
    cache.stamp = before;
    cache.sellers = sellers;
    return sellers;
}

bool SellerLineById(qlonglong idv, SellerLine &line)
{
    sqlstore::Query q = sqlstore::database().query(
        QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf")) + QStringLiteral(" WHERE IDV=?"),
        {idv});
    if (q.isEmpty())
        return false;
    line = SellerLineOf(q);
    return true;
}

LastSeller ReadLastSeller()
{
    LastSeller last;
    for (const auto &[key, field] : textKeys())
        last.line.*field = ReadSetting(Temp, QLatin1String(key));
    last.judet = int(wholeNumber("JUDET"));
    last.mjudet = int(wholeNumber("MJUDET"));
    last.line.bidata = dayOf("BIDATA");
    last.line.mbidata = dayOf("MBIDATA");
    return last;
}

void WriteLastSeller(const LastSeller &last)
{
    for (const auto &[key, field] : textKeys())
        WriteSetting(Temp, QLatin1String(key), last.line.*field);
    WriteSettingNumber(Temp, QStringLiteral("JUDET"), qint64(last.judet) * 10000);
    WriteSettingNumber(Temp, QStringLiteral("MJUDET"), qint64(last.mjudet) * 10000);
    WriteSettingNumber(Temp, QStringLiteral("BIDATA"), dayCount(last.line.bidata) * 10000);
    WriteSettingNumber(Temp, QStringLiteral("MBIDATA"), dayCount(last.line.mbidata) * 10000);
}
