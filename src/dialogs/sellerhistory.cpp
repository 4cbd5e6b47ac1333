#include "dialogs/sellerhistory.h"

#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "dialogs/cnprules.h"
#include "dialogs/workingtables.h"

#include <functional>

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

} // namespace

QList<EarlierSeller> EarlierSellers()
{
    QList<EarlierSeller> sellers;
    sqlstore::Query q = sqlstore::database().query(
        QStringLiteral("SELECT MAX(IDV) AS IDV, VANZATOR, CNPCUI FROM ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
        + QStringLiteral(" GROUP BY VANZATOR, CNPCUI ORDER BY VANZATOR"));
    sellers.reserve(q.rowCount());
    for (q.first(); !q.eof(); q.next())
        sellers.append({q.value(1).toString(), q.value(0).toLongLong()});
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
