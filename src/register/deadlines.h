// The legal deadlines of a request and the columns the register computes from
// them for every row: when stage I and stage II end, which of the two applies
// now, whether it has passed, how many days are left, the closing mark, the
// explanation shown as the row's tooltip and the display number.
//
// Dates are day serials (days since 30.12.1899), as the tables keep them.
// Stage I counts working days of the calendar; stage II counts calendar days
// and ends on a working day.
#pragma once

#include <QSet>
#include <QString>

// The two waiting terms of the procedure ("CONST"/"ZileEt1", "ZileEt2").
struct DeadlineTerms {
    // Working days of stage I (acceptance communications).
    int stageOneWorkingDays = 47;
    // Calendar days of stage II (offers of potential buyers).
    int stageTwoCalendarDays = 30;
};

// What the deadlines of a request depend on (columns of `Cereri`).
struct RequestFacts {
    // Day serial of DATAC (the request's date).
    int datac = 0;
    // STARE: 0, 1 open; 2..5 closed.
    int stare = 0;
    // PV1: "N" in stage I, anything else in stage II.
    QString pv1 = QStringLiteral("N");
    // Register number in individual numbering.
    qint64 nr = 0;
    // Register number in per-request numbering.
    qint64 nr2 = 0;
};

// End of stage I and stage II under the working-day rule.
struct StageDeadlines {
    int dataScad1 = 0;
    int dataScad2 = 0;
};

// The computed columns of one request row of the register.
struct RequestColumns {
    // End of stage I; 0 (empty) under the 31-day rule of old requests.
    int DataScad1 = 0;
    // End of stage II; 0 (empty) under the 31-day rule of old requests.
    int DataScad2 = 0;
    // The deadline that applies to the request now.
    int DataScad = 0;
    // "X" when the term of the current stage has passed, else empty.
    QString Expirat;
    // Days still to wait, never negative.
    int ZileRamase = 0;
    // Closing mark: "C", "F", "X", "P", or a blank while open.
    QString STARES;
    // Explanation of the deadline (tooltip of the row).
    QString HINTS;
    // Display number of the request.
    QString NRS;
};

// Last day of the old 31-day rule: requests up to 13.10.2020 waited 30+1 days.
constexpr int LastDayOfThirtyOneDayRule = 44117;

// DataScad1 = the day reached after `stageOneWorkingDays` working days from the
// day after `datac`; DataScad2 = DataScad1 + `stageTwoCalendarDays`, moved
// forward to the next working day when it is not one.
StageDeadlines WorkingDayDeadlines(int datac, const DeadlineTerms &terms);

// The register's computed columns of a request, judged on day `today`.
// Requests dated up to 13.10.2020 take the 31-day rule; their expiry is judged
// against that deadline (c + 31), so they stay expired once it has passed.
RequestColumns ComputeRequestColumns(const RequestFacts &request, const DeadlineTerms &terms,
                                     bool perRequestNumbering, int today);

// The same two with the extra holidays of the settings file (ExtraHolidays())
// read once by a caller that works out many rows.
StageDeadlines WorkingDayDeadlines(int datac, const DeadlineTerms &terms, const QSet<int> &extraHolidays);
RequestColumns ComputeRequestColumns(const RequestFacts &request, const DeadlineTerms &terms,
                                     bool perRequestNumbering, int today, const QSet<int> &extraHolidays);

// True when an open request (STARE 0 or 1) has passed the term of its current
// stage before `today`; the expired-terms report applies the working-day rule
// to every request, whatever its date.
bool ExpiredForReport(const RequestFacts &request, const DeadlineTerms &terms, int today);

// The display number of a request: NR in individual numbering, else NR2.
QString RequestDisplayNumber(qint64 nr, qint64 nr2, bool perRequestNumbering);
// The display number of an answer or act: NR in individual numbering, else
// the request's NR2 and the place in its file, "12/8".
QString EntryDisplayNumber(qint64 nr, qint64 nr2, qint64 nr2per, bool perRequestNumbering);
