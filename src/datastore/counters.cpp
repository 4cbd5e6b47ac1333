#include "datastore/counters.h"

#include "datastore/settings.h"

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
