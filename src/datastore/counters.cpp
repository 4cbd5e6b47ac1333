#include "datastore/counters.h"

#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"

#include <QDate>
#include <QList>

#include <utility>

namespace {

const QString kCounters = QStringLiteral("INDEX");

qint64 counterValue(const QString &stored)
{
    const qint64 v = ParseSettingNumber(stored);
    return v == 0 ? 10000 : v;
}

QString wholeNumberText(qint64 scaled)
{
    return QString::number(scaled / 10000);
}

} // namespace

QString TakeNextNumber(const QString &key)
{
    ProfileFile file(SettingsFilePath());
    const QString stored = file.update(kCounters, key, [](const QString &current) {
        return FormatSettingNumber(counterValue(current) + 10000);
    });
    return wholeNumberText(counterValue(stored));
}

QString PeekNextNumber(const QString &key)
{
    return wholeNumberText(counterValue(ReadSetting(kCounters, key)));
}

void SetNextNumber(const QString &key, qint64 scaled)
{
    WriteSettingNumber(kCounters, key, scaled);
}

int NumberingType()
{
    return ReadSettingNumber(QStringLiteral("CONST"), QStringLiteral("NumTip")) >= 20000 ? 2 : 1;
}

namespace {

// A whole number from what MAX returned; NULL or anything else gives 0.
qint64 wholeNumber(const QVariant &value)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    return !value.isNull() && ok ? qint64(d) : 0;
}

} // namespace

void RecountNextIds()
{
    const QList<std::pair<QString, QString>> ids = {{"Cereri.dbf", "ID"},     {"Comunicari.dbf", "IDC"},
                                                    {"Preemptori.dbf", "IDP"}, {"AlteActe.dbf", "IDA"},
                                                    {"Log.dbf", "IDLOG"}};
    for (const auto &[file, column] : ids) {
        const QVariant max = sqlstore::database().scalar("SELECT MAX(" + column + ") AS CODEX_\nFROM "
                                                         + QuotedTablePath(file));
        SetNextNumber(column, (wholeNumber(max) + 1) * 10000);
    }
}

void NextActNumber()
{
    const QDate newYear(QDate::currentDate().year(), 1, 1);
    const QVariant max = sqlstore::database().scalar("SELECT MAX(NR) AS NRMAX\nFROM " + QuotedTablePath("AlteActe.dbf")
                                                         + "\nWHERE DATAA>?",
                                                     {newYear.toString(Qt::ISODate)});
    SetNextNumber(QStringLiteral("NR"), (wholeNumber(max) + 1) * 10000);
}
