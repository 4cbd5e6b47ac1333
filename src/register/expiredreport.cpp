#include "register/expiredreport.h"

#include "platform/filehelpers.h"
#include "platform/session.h"
#include "datastore/calendar.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "templates/resources.h"
#include "templates/rtfreplace.h"

#include <QDir>
#include <QFile>

namespace {

QString shortDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

QStringList ExpiredRequestLines(const DeadlineTerms &terms, bool perRequestNumbering, const QDate &today)
{
    const QString sql = QStringLiteral("SELECT A.*, B.VANZATOR FROM ") + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                        + QStringLiteral(" A FULL JOIN ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
                        + QStringLiteral(" B ON A.ID=B.ID WHERE B.NRCRT=1 ORDER BY A.DATAC, ")
                        + (perRequestNumbering ? QStringLiteral("A.NR2") : QStringLiteral("A.NR"));
    sqlstore::Query q = sqlstore::database().query(sql);
    const int todaySerial = ToDaySerial(today);
    QStringList lines;
    for (bool more = q.first(); more; more = q.next()) {
        const QDate datac = q.value(QStringLiteral("DATAC")).toDate();
        if (!datac.isValid())
            continue; // a request without its date has no term to pass
        RequestFacts request;
        request.datac = ToDaySerial(datac);
        request.stare = q.value(QStringLiteral("STARE")).toInt();
        request.pv1 = q.value(QStringLiteral("PV1")).toString().trimmed();
        request.nr = q.value(QStringLiteral("NR")).toLongLong();
        request.nr2 = q.value(QStringLiteral("NR2")).toLongLong();
        if (!ExpiredForReport(request, terms, todaySerial))
            continue;
        lines << QStringLiteral("Nr.") + RequestDisplayNumber(request.nr, request.nr2, perRequestNumbering)
                     + QStringLiteral(" din ") + shortDate(datac) + QStringLiteral(" - ")
                     + q.value(QStringLiteral("VANZATOR")).toString().trimmed();
    }
    return lines;
}

QString WriteExpiredTermsReport(const QStringList &lines, const QDate &today, QString *error)
{
    const QString model = TempFileName(QStringLiteral("RapExpirate"), QStringLiteral(".rtf"));
    const QString output = TempFileName(QStringLiteral("Raport"), QStringLiteral(".rtf"));
    if (model.isEmpty() || output.isEmpty()) {
        *error = QStringLiteral("Nu se gaseste un nume liber pentru raport in %1.")
                     .arg(QDir::toNativeSeparators(session().programFolder));
        return {};
    }
    QString why;
    if (!ExtractResource(QStringLiteral("RapExpirate"), QStringLiteral("MODEL"), model, &why)) {
        *error = QStringLiteral("Modelul raportului nu poate fi scris: %1").arg(why);
        return {};
    }
    TRTFReplace rtf;
    rtf.RTFSursa = model;
    rtf.RTFDest = output;
    rtf.BeginDocument();
    rtf.AddField(QStringLiteral("[Data]"), shortDate(today));
    if (lines.isEmpty())
        rtf.AddField(QStringLiteral("[Dosar]"), QString::fromLatin1(kNoExpiredRequests));
    for (const QString &line : lines)
        rtf.AddField(QStringLiteral("[Dosar]"), line);
    rtf.WriteBody();
    const bool written = rtf.EndDocument();
    QFile::remove(model);
    if (!written || !QFile::exists(output)) {
        *error = QStringLiteral("Raportul %1 nu poate fi scris. %2")
                     .arg(QDir::toNativeSeparators(output), rtf.errorString())
                     .trimmed();
        return {};
    }
    return output;
}
