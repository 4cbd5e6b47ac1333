#include "datastore/calendar.h"

#include "datastore/settings.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct DayMonth {
    int day;
    int month;
};

// The fixed holiday table, weekend dates included as it always listed them.
const QSet<int> &fixedHolidayTable()
{
    static const QSet<int> table = [] {
        const std::array<std::pair<int, std::vector<DayMonth>>, 6> years = {{
            {2020, {{30, 11}, {1, 12}, {25, 12}, {26, 12}}},
            {2021, {{1, 1}, {2, 1}, {24, 1}, {30, 4}, {1, 5}, {2, 5}, {3, 5}, {1, 6}, {20, 6}, {21, 6},
                    {15, 8}, {30, 11}, {1, 12}, {25, 12}, {26, 12}}},
            {2022, {{24, 1}, {22, 4}, {25, 4}, {1, 6}, {13, 6}, {15, 8}, {30, 11}, {1, 12}, {26, 12}}},
            {2023, {{1, 1}, {2, 1}, {23, 1}, {24, 1}, {14, 4}, {16, 4}, {17, 4}, {1, 5}, {1, 6}, {2, 6},
                    {4, 6}, {5, 6}, {15, 8}, {30, 11}, {1, 12}, {25, 12}, {26, 12}}},
            {2024, {{1, 1}, {2, 1}, {24, 1}, {1, 5}, {3, 5}, {6, 5}, {24, 6}, {15, 8}, {25, 12}, {26, 12}}},
            {2025, {{1, 1}, {2, 1}, {6, 1}, {7, 1}, {24, 1}, {18, 4}, {21, 4}, {1, 5}, {9, 6}, {15, 8},
                    {1, 12}, {25, 12}, {26, 12}}},
        }};
        QSet<int> serials;
        for (const auto &[year, dates] : years)
            for (const DayMonth &d : dates)
                serials.insert(ToDaySerial(QDate(year, d.month, d.day)));
        return serials;
    }();
    return table;
}

int fixedTableStart() { return ToDaySerial(QDate(2020, 11, 30)); }
int computedStart() { return ToDaySerial(QDate(2026, 1, 1)); }

bool isWeekend(int serial)
{
    const int weekday = ((serial % 7) + 7) % 7; // 0 Saturday, 1 Sunday
    return weekday < 2;
}

// The legal holidays of Romania as the labour code lists them from 2026 on.
bool isLegalHoliday(const QDate &date)
{
    static const std::array<DayMonth, 11> fixed = {{{1, 1}, {2, 1}, {6, 1}, {7, 1}, {24, 1}, {1, 5},
                                                   {1, 6}, {15, 8}, {30, 11}, {1, 12}, {25, 12}}};
    if (date.month() == 12 && date.day() == 26)
        return true;
    for (const DayMonth &d : fixed)
        if (date.day() == d.day && date.month() == d.month)
            return true;
    const qint64 fromEaster = OrthodoxEaster(date.year()).daysTo(date);
    // Good Friday, Easter Sunday and Monday, Pentecost Sunday and Monday.
    return fromEaster == -2 || fromEaster == 0 || fromEaster == 1 || fromEaster == 49 || fromEaster == 50;
}

QSet<int> readExtraHolidays(const QString &path)
{
    QSet<int> days;
    for (const QString &key : ProfileFile(path).keys(QStringLiteral("SARBATORI"))) {
        const QDate date = QDate::fromString(key.trimmed(), QStringLiteral("d.M.yyyy"));
        if (date.isValid())
            days.insert(ToDaySerial(date));
    }
    return days;
}

} // namespace

QDate DaySerialEpoch() { return QDate(1899, 12, 30); }

int ToDaySerial(const QDate &date) { return int(DaySerialEpoch().daysTo(date)); }

QDate FromDaySerial(int serial) { return DaySerialEpoch().addDays(serial); }

qint64 WeekNumber(const QDateTime &moment)
{
    const qint64 serial = DaySerialEpoch().daysTo(moment.date());
    return serial >= 0 ? serial / 7 : -((-serial + 6) / 7);
}

qint64 CurrentWeekNumber() { return WeekNumber(QDateTime::currentDateTime()); }

QSet<int> ExtraHolidays()
{
    // Day-by-day deadline walks call this for every row of the register; the
    // file is parsed again only when it was replaced or changed.
    struct Cache {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        QSet<int> days;
    };
    static Cache cache;
    const QString path = SettingsFilePath();
    QFileInfo info(path);
    info.setCaching(false);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (path != cache.path || modified != cache.modified || size != cache.size)
        cache = {path, modified, size, info.exists() ? readExtraHolidays(path) : QSet<int>()};
    return cache.days;
}

QDate OrthodoxEaster(int year)
{
    // Julian computus, then the 13 days between the calendars in 1900-2099.
    const int a = year % 4, b = year % 7, c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const int day = (d + e + 114) % 31 + 1;
    return QDate(year, month, day).addDays(13);
}

bool IsWorkingDay(int serial, const QSet<int> &extraHolidays)
{
    if (isWeekend(serial))
        return false;
    if (serial < fixedTableStart())
        return true;
    if (serial < computedStart())
        return !fixedHolidayTable().contains(serial);
    return !isLegalHoliday(FromDaySerial(serial)) && !extraHolidays.contains(serial);
}

int AddWorkingDays(int serial, int count, const QSet<int> &extraHolidays)
{
    for (int k = 0; k < count;) {
        ++serial;
        if (IsWorkingDay(serial, extraHolidays))
            ++k;
    }
    return serial;
}

int FirstWorkingDayFrom(int serial, const QSet<int> &extraHolidays)
{
    while (!IsWorkingDay(serial, extraHolidays))
        ++serial;
    return serial;
}

bool IsWorkingDay(int serial)
{
    return IsWorkingDay(serial, serial >= computedStart() ? ExtraHolidays() : QSet<int>());
}

int AddWorkingDays(int serial, int count)
{
    return AddWorkingDays(serial, count, ExtraHolidays());
}

int FirstWorkingDayFrom(int serial)
{
    return FirstWorkingDayFrom(serial, ExtraHolidays());
}
