#include "register/deadlines.h"
#include "testsupport.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

int serial(int y, int m, int d)
{
    return static_cast<int>(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

RequestFacts request(int datac, int stare = 0, const char *pv1 = "N")
{
    RequestFacts r;
    r.datac = datac;
    r.stare = stare;
    r.pv1 = QString::fromLatin1(pv1);
    r.nr = 12;
    r.nr2 = 5;
    return r;
}

const DeadlineTerms defaults;

} // namespace

TEST(Deadlines, StageTwoEndMovesPastAWeekend)
{
    // 6, 7 and 24 January 2025 are holidays; 14 March + 30 days is Sunday 13 April.
    const StageDeadlines d = WorkingDayDeadlines(serial(2025, 1, 3), defaults);
    EXPECT_EQ(d.dataScad1, serial(2025, 3, 14));
    EXPECT_EQ(d.dataScad2, serial(2025, 4, 14));
}

TEST(Deadlines, ApplicableDeadlineFollowsStateAndStage)
{
    const int c = serial(2025, 1, 3);
    struct Case {
        int stare;
        const char *pv1;
        int expected;
    } cases[] = {
        {0, "N", serial(2025, 4, 14)}, // nothing received yet: the later end
        {0, "D", serial(2025, 4, 14)},
        {1, "N", serial(2025, 3, 14)},
        {1, "D", serial(2025, 4, 14)},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.stare);
        SCOPED_TRACE(k.pv1);
        const RequestColumns col = ComputeRequestColumns(request(c, k.stare, k.pv1), defaults, false,
                                                         serial(2025, 2, 1));
        EXPECT_EQ(col.DataScad, k.expected);
        EXPECT_EQ(col.ZileRamase, k.expected - serial(2025, 2, 1));
    }
}

TEST(Deadlines, ExpiryStartsTheDayAfterTheDeadline)
{
    const int c = serial(2025, 1, 3);
    struct Case {
        const char *pv1;
        int today;
        const char *expirat;
        int zile;
    } cases[] = {
        {"N", serial(2025, 3, 14), "", 31}, // stage I ends today; DataScad is the stage II end
        {"N", serial(2025, 3, 15), "X", 30},
        {"D", serial(2025, 4, 14), "", 0},
        {"D", serial(2025, 4, 15), "X", 0},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.today);
        const RequestColumns col = ComputeRequestColumns(request(c, 0, k.pv1), defaults, false, k.today);
        EXPECT_EQ(col.Expirat, QString::fromLatin1(k.expirat));
        EXPECT_EQ(col.ZileRamase, k.zile);
    }
}

TEST(Deadlines, ThirtyOneDayRuleEndsOnThirteenthOctober2020)
{
    const int oldDay = serial(2020, 10, 13);
    ASSERT_EQ(oldDay, LastDayOfThirtyOneDayRule);
    const RequestColumns old = ComputeRequestColumns(request(oldDay), defaults, false, oldDay);
    EXPECT_EQ(old.DataScad, oldDay + 31);
    EXPECT_EQ(old.DataScad1, 0);
    EXPECT_EQ(old.DataScad2, 0);
    EXPECT_EQ(old.HINTS, "Termen de asteptare: 30+1 zile, cf.OUG.203/2020 = 13.11.2020");
    EXPECT_EQ(old.Expirat, "");
    EXPECT_EQ(ComputeRequestColumns(request(oldDay), defaults, false, oldDay + 32).Expirat, "X");

    const RequestColumns next = ComputeRequestColumns(request(oldDay + 1), defaults, false, oldDay);
    EXPECT_NE(next.DataScad1, 0);
    EXPECT_TRUE(next.HINTS.startsWith("Data scadentei:\r"));
}

TEST(Deadlines, HintNamesBothStagesAndTheApplicableDate)
{
    const RequestColumns col = ComputeRequestColumns(request(serial(2025, 1, 3), 1, "N"), defaults,
                                                     false, serial(2025, 1, 3));
    EXPECT_EQ(col.HINTS,
              "Data scadentei:\r- cu Comunicare de Acceptare (Preemptor) = 47 zile LUCRATOARE = 14.03.2025\r"
              "- fara Comunicare de Acceptare (Preemptor) = 47 zile lucratoare + 30 zile calendaristice = "
              "14.04.2025\rIn cazul de fata: 14.03.2025");
}

TEST(Deadlines, ClosedRequestsAreNeverExpired)
{
    struct Case {
        int stare;
        const char *mark;
        const char *hint;
    } cases[] = {
        {0, " ", nullptr},
        {1, " ", nullptr},
        {2, "C", "Dosar inchis CU Comunicare."},
        {3, "F", "Dosar inchis FARA Comunicare."},
        {4, "X", "Dosar inchis prin Retragere."},
        {5, "P", "Dosar inchis CU Potential cumparator."},
    };
    const int longAfter = serial(2026, 12, 1);
    for (const Case &k : cases) {
        SCOPED_TRACE(k.stare);
        const RequestColumns col = ComputeRequestColumns(request(serial(2025, 1, 3), k.stare), defaults,
                                                         false, longAfter);
        EXPECT_EQ(col.STARES, QString::fromLatin1(k.mark));
        EXPECT_EQ(col.Expirat, k.stare > 1 ? "" : "X");
        if (k.hint) {
            EXPECT_EQ(col.HINTS, QString::fromLatin1(k.hint));
        }
        EXPECT_EQ(ExpiredForReport(request(serial(2025, 1, 3), k.stare), defaults, longAfter), k.stare <= 1);
    }
}

TEST(Deadlines, DisplayNumberFollowsNumberingMode)
{
    const RequestFacts r = request(serial(2025, 1, 3));
    EXPECT_EQ(ComputeRequestColumns(r, defaults, false, 0).NRS, "12");
    EXPECT_EQ(ComputeRequestColumns(r, defaults, true, 0).NRS, "5");
}

TEST(Deadlines, ReportJudgesOldRequestsByWorkingDays)
{
    // 1 October 2020 + 47 working days is 9 December 2020 (holidays 30.11 and 01.12).
    const RequestFacts old = request(serial(2020, 10, 1), 0, "N");
    const StageDeadlines d = WorkingDayDeadlines(old.datac, defaults);
    ASSERT_EQ(d.dataScad1, serial(2020, 12, 9));
    EXPECT_FALSE(ExpiredForReport(old, defaults, d.dataScad1));
    EXPECT_TRUE(ExpiredForReport(old, defaults, d.dataScad1 + 1));
    // The register's 31-day rule would have called it expired long before.
    EXPECT_EQ(ComputeRequestColumns(old, defaults, false, old.datac + 40).Expirat, "X");
    EXPECT_FALSE(ExpiredForReport(old, defaults, old.datac + 40));
}

TEST(Deadlines, OtherTermsChangeBothEnds)
{
    const DeadlineTerms terms{10, 5};
    // Monday 5 January 2026 + 10 working days (6 and 7 January are holidays) = Wednesday 21
    // January; + 5 calendar days = Monday 26 January, already a working day.
    const StageDeadlines d = WorkingDayDeadlines(serial(2026, 1, 5), terms);
    EXPECT_EQ(d.dataScad1, serial(2026, 1, 21));
    EXPECT_EQ(d.dataScad2, serial(2026, 1, 26));
}

TEST(Deadlines, StageTwoEndOnAHolidayMovesToTheNextWorkingDay)
{
    // 11 March 2026 + 30 days is Good Friday 10 April; Easter Monday 13 April is also free.
    const StageDeadlines d = WorkingDayDeadlines(serial(2026, 3, 10), DeadlineTerms{1, 30});
    EXPECT_EQ(d.dataScad1, serial(2026, 3, 11));
    EXPECT_EQ(d.dataScad2, serial(2026, 4, 14));
}
