// Working days, deadlines, day serials and week numbers.
#include "platform/session.h"
#include "datastore/calendar.h"
#include "datastore/settings.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

int serial(int day, int month, int year) { return ToDaySerial(QDate(year, month, day)); }

class CalendarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSession(folder.path());
        session().dataFolder = folder.path();
    }
    testsupport::TempFolder folder;
};

TEST_F(CalendarTest, DaySerialsAndWeekNumbers)
{
    EXPECT_EQ(serial(30, 12, 1899), 0);
    EXPECT_EQ(serial(8, 3, 2024), 45359);
    EXPECT_EQ(FromDaySerial(45359), QDate(2024, 3, 8));
    EXPECT_EQ(WeekNumber(QDateTime(QDate(2024, 3, 8), QTime(23, 59, 59))), 6479); // Friday
    EXPECT_EQ(WeekNumber(QDateTime(QDate(2024, 3, 9), QTime(0, 0))), 6480);       // Saturday
}

TEST_F(CalendarTest, WorkingDays)
{
    const struct {
        int day, month, year;
        bool working;
    } cases[] = {
        {30, 11, 2020, false}, // Monday, first date of the holiday table
        {28, 11, 2020, false}, // Saturday
        {27, 11, 2020, true},  // Friday
        {25, 12, 2019, true},  // before the table only weekends count
        {1, 1, 2020, true},
        {9, 6, 2025, false},   // Pentecost Monday in the table
        {29, 12, 2025, true},  // after the table's last date, before the computed years
        {10, 4, 2026, false},  // Good Friday
        {13, 4, 2026, false},  // Easter Monday
        {1, 6, 2026, false},   // Children's day and Pentecost Monday
        {7, 1, 2026, false},
        {24, 1, 2028, false},  // Monday, Union day
        {11, 5, 2026, true},
        {30, 11, 2026, false}, // St Andrew, Monday
        {15, 8, 2029, false},
        {2, 1, 2026, false},
        {5, 1, 2026, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IsWorkingDay(serial(c.day, c.month, c.year)), c.working)
            << c.day << "." << c.month << "." << c.year;
    }
}

TEST_F(CalendarTest, OrthodoxEaster)
{
    EXPECT_EQ(OrthodoxEaster(2024), QDate(2024, 5, 5));
    EXPECT_EQ(OrthodoxEaster(2025), QDate(2025, 4, 20));
    EXPECT_EQ(OrthodoxEaster(2026), QDate(2026, 4, 12));
    EXPECT_EQ(OrthodoxEaster(2027), QDate(2027, 5, 2));
}

TEST_F(CalendarTest, Deadlines)
{
    EXPECT_EQ(FromDaySerial(AddWorkingDays(serial(24, 12, 2020), 1)), QDate(2020, 12, 28));
    EXPECT_EQ(AddWorkingDays(serial(24, 12, 2020), 0), serial(24, 12, 2020));
    EXPECT_EQ(AddWorkingDays(serial(24, 12, 2020), -3), serial(24, 12, 2020));
    // A request of Friday 3 January 2025 with stages of 47 working days and 30 calendar days.
    const int stageOne = AddWorkingDays(serial(3, 1, 2025), 47);
    EXPECT_EQ(FromDaySerial(stageOne), QDate(2025, 3, 14));
    EXPECT_EQ(FromDaySerial(FirstWorkingDayFrom(stageOne + 30)), QDate(2025, 4, 14));
    EXPECT_EQ(FirstWorkingDayFrom(serial(14, 4, 2025)), serial(14, 4, 2025));
}

TEST_F(CalendarTest, ExtraDaysOffFromTheSettingsFile)
{
    EXPECT_TRUE(IsWorkingDay(serial(5, 1, 2026)));
    WriteSetting("SARBATORI", "05.01.2026", "Zi libera decretata");
    WriteSetting("SARBATORI", "8.5.2026", "");
    WriteSetting("SARBATORI", "nu e o data", "x");
    WriteSetting("SARBATORI", "03.06.2024", "ignored: the years before 2026 keep their table");
    EXPECT_FALSE(IsWorkingDay(serial(5, 1, 2026)));
    EXPECT_FALSE(IsWorkingDay(serial(8, 5, 2026)));
    EXPECT_TRUE(IsWorkingDay(serial(3, 6, 2024)));
    // Friday 2 January 2026 is a holiday, Monday 5 the extra day off, 6 and 7 holidays.
    EXPECT_EQ(FromDaySerial(AddWorkingDays(serial(1, 1, 2026), 1)), QDate(2026, 1, 8));
    // The caller may give the days off itself.
    EXPECT_TRUE(IsWorkingDay(serial(5, 1, 2026), {}));
    EXPECT_FALSE(IsWorkingDay(serial(5, 1, 2026), {serial(5, 1, 2026)}));
}

} // namespace
