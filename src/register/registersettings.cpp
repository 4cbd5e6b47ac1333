#include "register/registersettings.h"

#include "datastore/counters.h"
#include "datastore/settings.h"

namespace {

// A whole number of days as the settings file keeps it, else `fallback`.
int wholeDays(const QString &key, int fallback)
{
    bool ok = false;
    const int days = ReadSetting(QStringLiteral("CONST"), key).trimmed().toInt(&ok);
    return ok && days >= 0 ? days : fallback;
}

} // namespace

RegisterSettings LoadRegisterSettings()
{
    RegisterSettings s;
    s.terms.stageOneWorkingDays = wholeDays(QStringLiteral("ZileEt1"), 47);
    s.terms.stageTwoCalendarDays = wholeDays(QStringLiteral("ZileEt2"), 30);
    s.perRequestNumbering = NumberingType() == 2;
    s.unitName = ReadSetting(QStringLiteral("CONST"), QStringLiteral("UNITATE")).trimmed();
    return s;
}
