#include "datastore/settings.h"

#include "platform/filecase.h"
#include "platform/session.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdlib>

namespace {

ProfileFile settingsFile() { return ProfileFile(SettingsFilePath()); }
ProfileFile machineFile() { return ProfileFile(MachineSettingsFilePath()); }
ProfileFile workstationFile() { return ProfileFile(WorkstationSettingsFilePath()); }

const QString kMachineSection = QStringLiteral("99");

} // namespace

QString SettingsFilePath()
{
    return platform::findFileNoCase(session().dataFolder, QStringLiteral("Arv2.set"));
}

QString MachineSettingsFilePath()
{
    return platform::findFileNoCase(session().systemFolder, QStringLiteral("GMT.dII"));
}

QString WorkstationSettingsFilePath()
{
    return platform::findFileNoCase(session().programFolder, QStringLiteral("Local.set"));
}

QString ReadSetting(const QString &section, const QString &key)
{
    return settingsFile().value(section, key);
}

void WriteSetting(const QString &section, const QString &key, const QString &text)
{
    settingsFile().setValue(section, key, text);
}

qint64 ParseSettingNumber(const QString &text)
{
    // A plain decimal: sign, digits, point, exponent. Words such as "inf" or
    // "nan", which the C library would take, are not numbers here.
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch())
        return 0;
    const double scaled = t.toDouble() * 10000.0;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18)
        return 0;
    return qint64(std::nearbyint(scaled)); // the default rounding mode: ties to even
}

QString FormatSettingNumber(qint64 scaled)
{
    // Exact decimal arithmetic gives the shortest form without the noise of a
    // binary fraction.
    const bool negative = scaled < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(scaled) : quint64(scaled);
    QString text = QString::number(magnitude / 10000);
    if (const quint64 fraction = magnitude % 10000) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

qint64 ReadSettingNumber(const QString &section, const QString &key)
{
    return ParseSettingNumber(ReadSetting(section, key));
}

void WriteSettingNumber(const QString &section, const QString &key, qint64 scaled)
{
    WriteSetting(section, key, FormatSettingNumber(scaled));
}

QString ReadMachineSetting(const QString &key)
{
    return machineFile().value(kMachineSection, key);
}

void WriteMachineSetting(const QString &key, const QString &text)
{
    machineFile().setValue(kMachineSection, key, text);
}

QString ReadWorkstationSetting(const QString &section, const QString &key)
{
    return workstationFile().value(section, key);
}

void WriteWorkstationSetting(const QString &section, const QString &key, const QString &text)
{
    workstationFile().setValue(section, key, text);
}

QByteArray ReadStoredPassword()
{
    return settingsFile().rawValue(QStringLiteral("INIT"), QStringLiteral("WIN"));
}

void WriteStoredPassword(const QByteArray &encoded)
{
    settingsFile().setRawValue(QStringLiteral("INIT"), QStringLiteral("WIN"), encoded);
}
