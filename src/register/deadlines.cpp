#include "register/deadlines.h"

#include "datastore/calendar.h"

namespace {

QString shortDate(int daySerial)
{
    return FromDaySerial(daySerial).toString(QStringLiteral("dd.MM.yyyy"));
}

bool inStageOne(const RequestFacts &request)
{
    return request.pv1 == QLatin1String("N");
}

bool isClosed(const RequestFacts &request)
{
    return request.stare > 1;
}

QString closingMark(int stare)
{
    switch (stare) {
    case 2: return QStringLiteral("C");
    case 3: return QStringLiteral("F");
    case 4: return QStringLiteral("X");
    case 5: return QStringLiteral("P");
    default: return QStringLiteral(" ");
    }
}

QString closedHint(int stare)
{
    switch (stare) {
    case 2: return QStringLiteral("Dosar inchis CU Comunicare.");
    case 3: return QStringLiteral("Dosar inchis FARA Comunicare.");
    case 4: return QStringLiteral("Dosar inchis prin Retragere.");
    default: return QStringLiteral("Dosar inchis CU Potential cumparator.");
    }
}

QString workingDayHint(const RequestColumns &c, const DeadlineTerms &terms)
{
    return QStringLiteral("Data scadentei:\r- cu Comunicare de Acceptare (Preemptor) = ")
        + QString::number(terms.stageOneWorkingDays) + QStringLiteral(" zile LUCRATOARE = ")
        + shortDate(c.DataScad1) + QStringLiteral("\r")
        + QStringLiteral("- fara Comunicare de Acceptare (Preemptor) = ")
        + QString::number(terms.stageOneWorkingDays) + QStringLiteral(" zile lucratoare + ")
        + QString::number(terms.stageTwoCalendarDays) + QStringLiteral(" zile calendaristice = ")
        + shortDate(c.DataScad2) + QStringLiteral("\r") + QStringLiteral("In cazul de fata: ")
        + shortDate(c.DataScad);
}

} // namespace

StageDeadlines WorkingDayDeadlines(int datac, const DeadlineTerms &terms)
{
    return WorkingDayDeadlines(datac, terms, ExtraHolidays());
}

StageDeadlines WorkingDayDeadlines(int datac, const DeadlineTerms &terms, const QSet<int> &extraHolidays)
{
    StageDeadlines d;
    d.dataScad1 = AddWorkingDays(datac, terms.stageOneWorkingDays, extraHolidays);
    d.dataScad2 = FirstWorkingDayFrom(d.dataScad1 + terms.stageTwoCalendarDays, extraHolidays);
    return d;
}

RequestColumns ComputeRequestColumns(const RequestFacts &request, const DeadlineTerms &terms,
                                     bool perRequestNumbering, int today)
{
    return ComputeRequestColumns(request, terms, perRequestNumbering, today, ExtraHolidays());
}

RequestColumns ComputeRequestColumns(const RequestFacts &request, const DeadlineTerms &terms,
                                     bool perRequestNumbering, int today, const QSet<int> &extraHolidays)
{
    RequestColumns c;
    if (request.datac > LastDayOfThirtyOneDayRule) {
        const StageDeadlines stages = WorkingDayDeadlines(request.datac, terms, extraHolidays);
        c.DataScad1 = stages.dataScad1;
        c.DataScad2 = stages.dataScad2;
        if (request.stare == 0)
            c.DataScad = c.DataScad2;
        else
            c.DataScad = inStageOne(request) ? c.DataScad1 : c.DataScad2;
        c.HINTS = workingDayHint(c, terms);
        const int stageEnd = inStageOne(request) ? c.DataScad1 : c.DataScad2;
        if (!isClosed(request) && stageEnd < today)
            c.Expirat = QStringLiteral("X");
    } else {
        c.DataScad = request.datac + 31;
        c.HINTS = QStringLiteral("Termen de asteptare: 30+1 zile, cf.OUG.203/2020 = ")
            + shortDate(c.DataScad);
        // Old requests have no stage dates; their single deadline decides.
        if (!isClosed(request) && c.DataScad < today)
            c.Expirat = QStringLiteral("X");
    }
    c.ZileRamase = qMax(0, c.DataScad - today);
    c.NRS = RequestDisplayNumber(request.nr, request.nr2, perRequestNumbering);
    c.STARES = closingMark(request.stare);
    if (isClosed(request))
        c.HINTS = closedHint(request.stare);
    return c;
}

bool ExpiredForReport(const RequestFacts &request, const DeadlineTerms &terms, int today)
{
    if (request.stare != 0 && request.stare != 1)
        return false;
    const StageDeadlines stages = WorkingDayDeadlines(request.datac, terms);
    const int stageEnd = inStageOne(request) ? stages.dataScad1 : stages.dataScad2;
    return stageEnd < today;
}

QString RequestDisplayNumber(qint64 nr, qint64 nr2, bool perRequestNumbering)
{
    return QString::number(perRequestNumbering ? nr2 : nr);
}

QString EntryDisplayNumber(qint64 nr, qint64 nr2, qint64 nr2per, bool perRequestNumbering)
{
    if (!perRequestNumbering)
        return QString::number(nr);
    return QString::number(nr2) + QLatin1Char('/') + QString::number(nr2per);
}
