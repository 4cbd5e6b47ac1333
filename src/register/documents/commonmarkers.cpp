#include "register/documents/commonmarkers.h"

#include "datastore/amountinwords.h"
#include "datastore/calendar.h"
#include "templates/rtfreplace.h"

#include <QTime>

namespace {

QString serialDate(int serial)
{
    return serial > 0 ? ShortDate(FromDaySerial(serial)) : QString();
}

// Text joined with `between` after every item but the last two, and `last`
// between those.
QString joinWithLast(const QStringList &items, const QString &between, const QString &last)
{
    QString text;
    for (qsizetype r = 0; r < items.size(); ++r) {
        text += items.at(r);
        if (r + 2 < items.size())
            text += between;
        else if (r + 2 == items.size())
            text += last;
    }
    return text;
}

QString nameWithMandatary(const Row &seller)
{
    const QString mandatary = seller[QStringLiteral("MANDATAR")];
    return seller[QStringLiteral("VANZATOR")] + (mandatary.isEmpty() ? QString() : QStringLiteral(" prin ") + mandatary);
}

QString mandataryIdentity(const Row &s)
{
    return QStringLiteral(", CNP ") + s[QStringLiteral("MCNPCUI")] + QStringLiteral(", domiciliat în ")
           + s[QStringLiteral("MLOCV")] + QStringLiteral(", ") + s[QStringLiteral("MADRESA")]
           + QStringLiteral(", judetul/sectorul ") + s[QStringLiteral("MJUDET")] + QStringLiteral(", cod postal ")
           + s[QStringLiteral("MCODPOST")] + QStringLiteral(", act de identitate ") + s[QStringLiteral("MBI")]
           + QStringLiteral(" seria ") + s[QStringLiteral("MBISERIA")] + QStringLiteral(" nr. ")
           + s[QStringLiteral("MBINR")] + QStringLiteral(", eliberat de ") + s[QStringLiteral("MBIELIB")]
           + QStringLiteral(" la data ") + s[QStringLiteral("MBIDATA")] + QStringLiteral(", telefon ")
           + s[QStringLiteral("MTEL")] + QStringLiteral(", in calitate de ") + s[QStringLiteral("MCALITATE")]
           + QStringLiteral(", conform ") + s[QStringLiteral("MCONFORM")];
}

// "[VANZATORI]" of the act documents: each seller's identity, with the
// mandatary's after it.
QString sellersIdentity(const QList<Row> &sellers)
{
    QString text = QStringLiteral("      ");
    for (qsizetype r = 0; r < sellers.size(); ++r) {
        const Row &s = sellers.at(r);
        text += s[QStringLiteral("VANZATOR")] + QStringLiteral(", CNP ") + s[QStringLiteral("CNPCUI")]
                + QStringLiteral(", domiciliat în ") + s[QStringLiteral("LOCV")] + QStringLiteral(", ")
                + s[QStringLiteral("ADRESA")] + QStringLiteral(", judetul/sectorul ") + s[QStringLiteral("JUDET")]
                + QStringLiteral(", act de identitate ") + s[QStringLiteral("BI")] + QStringLiteral(" seria ")
                + s[QStringLiteral("BISERIA")] + QStringLiteral(" nr. ") + s[QStringLiteral("BINR")]
                + QStringLiteral(", eliberat de ") + s[QStringLiteral("BIELIB")] + QStringLiteral(" la data ")
                + s[QStringLiteral("BIDATA")] + QStringLiteral(", telefon ") + s[QStringLiteral("TEL")];
        if (!s[QStringLiteral("MANDATAR")].isEmpty())
            text += QStringLiteral(" prin ") + s[QStringLiteral("MANDATAR")] + mandataryIdentity(s);
        text += r + 1 == sellers.size() ? QStringLiteral(" \\par       ") : QStringLiteral(", \\par       ");
    }
    return text;
}

// "[VanzatoriList]": the sellers as the decision and the withdrawal name them.
QString sellersList(const QList<Row> &sellers, bool naturalPerson)
{
    QString text = QStringLiteral("      ");
    for (const Row &s : sellers) {
        if (!naturalPerson) {
            text += s[QStringLiteral("VANZATOR")]
                    + QStringLiteral(" în calitate de vanzatoare, proprietar/coproprietar, CUI ") + s[QStringLiteral("CNPCUI")]
                    + QStringLiteral(", personalitate juridica romana, cu sediul în localitatea ");
        } else {
            text += s[QStringLiteral("VANZATOR")]
                    + QStringLiteral(" în calitate de vanzator/vanzatoare, proprietar/coproprietar, CNP ")
                    + s[QStringLiteral("CNPCUI")] + QStringLiteral(", identificat/identificata cu ") + s[QStringLiteral("BI")]
                    + QStringLiteral(" seria ") + s[QStringLiteral("BISERIA")] + QStringLiteral(" nr.") + s[QStringLiteral("BINR")]
                    + QStringLiteral(", eliberat de ") + s[QStringLiteral("BIELIB")] + QStringLiteral(" la data ")
                    + s[QStringLiteral("BIDATA")]
                    + QStringLiteral(", cetatenia romana, nationalitatea romana, cu domiciliul în localitatea ");
        }
        text += s[QStringLiteral("LOCV")] + QStringLiteral(", ") + s[QStringLiteral("ADRESA")]
                + QStringLiteral(", judetul/sectorul ") + s[QStringLiteral("JUDET")]
                + QStringLiteral(", codul postal ..................., tara Romania, ") + QStringLiteral("telefon ")
                + s[QStringLiteral("TEL")] + QStringLiteral(", fax ...................., e-mail ...................., ");
        if (!s[QStringLiteral("MANDATAR")].isEmpty())
            text += QStringLiteral("prin ") + s[QStringLiteral("MANDATAR")] + mandataryIdentity(s) + QStringLiteral(", ");
        text += QStringLiteral(" \\par       ");
    }
    return text;
}

void addSellerMarkers(TRTFReplace &rtf, const ActContext &act)
{
    const QList<Row> &sellers = act.sellers;
    const Row first = sellers.isEmpty() ? Row() : sellers.first();
    const int s = act.request.sellerCount;
    if (s == 1 || act.kind == 4 || act.kind == 5) {
        const bool male = IsMaleCode(first[QStringLiteral("CNPCUI")]);
        rtf.AddField(QStringLiteral("[DL]"), male ? QStringLiteral("dl.") : QStringLiteral("dna."));
        rtf.AddField(QStringLiteral("[DLUI]"), male ? QStringLiteral("domnului") : QStringLiteral("doamnei"));
        rtf.AddField(QStringLiteral("[NUMIT]"),
                     !male ? QStringLiteral("numita") : (s == 1 ? QStringLiteral("numitul") : QStringLiteral("numitii")));
    } else {
        for (const char *marker : {"[DL]", "[DLUI]", "[NUMIT]"})
            rtf.AddField(QString::fromLatin1(marker), QStringLiteral("numitii"));
        QStringList withPlace;
        for (const Row &seller : sellers)
            withPlace << seller[QStringLiteral("VANZATOR")] + QStringLiteral(" domiciliat in ") + seller[QStringLiteral("LOCV")];
        rtf.AddField(QStringLiteral("[VANZATORLOCV]"), withPlace.join(QStringLiteral(", ")));
        rtf.AddField(QStringLiteral("[VANZATORI]"), sellersIdentity(sellers));
    }
    QStringList names;
    QStringList places;
    for (const Row &seller : sellers) {
        names << nameWithMandatary(seller);
        places << seller[QStringLiteral("LOCV")];
    }
    rtf.AddField(QStringLiteral("[VANZATOR]"), joinWithLast(names, QStringLiteral(", "), QStringLiteral(" si ")));
    rtf.AddField(QStringLiteral("[LOCV]"), joinWithLast(places, QStringLiteral(", "), QStringLiteral(" respectiv ")));
    rtf.AddField(QStringLiteral("[CNPCUI]"), first[QStringLiteral("CNPCUI")]);
    rtf.AddField(QStringLiteral("[ADRESA]"), first[QStringLiteral("ADRESA")]);
    rtf.AddField(QStringLiteral("[JUDETV]"), first[QStringLiteral("JUDET")]);
    for (const char *field : {"BI", "BISERIA", "BINR", "BIELIB", "BIDATA", "TEL"}) {
        const QString name = QString::fromLatin1(field);
        rtf.AddField(QLatin1Char('[') + name + QLatin1Char(']'), first[name]);
    }
    rtf.AddField(QStringLiteral("[VanzatoriList]"), sellersList(sellers, act.request.naturalPerson));
}

void addAnswerMarkers(TRTFReplace &rtf, const ActContext &act)
{
    const QList<Row> answers = LoadAnswers(act.request.id, act.request.stageOne);
    const QString count = QString::number(answers.size());
    rtf.AddField(QStringLiteral("[NRCOM]"), count);
    rtf.AddField(QStringLiteral("[NRCOMUNICARI]"), count);
    const bool perRequest = act.settings.perRequestNumbering;
    if (!answers.isEmpty()) {
        Row inGrid = answers.last();
        for (const Row &a : answers) {
            if (a.number(QStringLiteral("IDC")) == act.selectedAnswer)
                inGrid = a;
        }
        rtf.AddField(QStringLiteral("[NRCA]"), ActNumber(inGrid, perRequest));
    }
    const Row chosen = ChosenAnswer(act, answers);
    if (chosen.isEmpty())
        return;
    const qint64 rank = chosen.number(QStringLiteral("RANG"));
    rtf.AddField(QStringLiteral("[CALITATE]"),
                 rank > 99 ? QString() : QStringLiteral("Preemptor de rangul ") + QString::number(rank));
    rtf.AddField(QStringLiteral("[CUMPARATOR]"), chosen[QStringLiteral("CUMPARATOR")]);
    rtf.AddField(QStringLiteral("[CNPCUIP]"), chosen[QStringLiteral("CNPCUI")]);
    rtf.AddField(QStringLiteral("[DATANP]"), BirthDateOfCode(chosen[QStringLiteral("CNPCUI")]));
    rtf.AddField(QStringLiteral("[LOCP]"), chosen[QStringLiteral("LOC")]);
    rtf.AddField(QStringLiteral("[ADRESAP]"), chosen[QStringLiteral("ADRESA")]);
    rtf.AddField(QStringLiteral("[PRETP]"), chosen[QStringLiteral("PRET")]);
    rtf.AddField(QStringLiteral("[PRETPL]"), AmountInWords(chosen[QStringLiteral("PRET")]));
    rtf.AddField(QStringLiteral("[DATACOM]"), chosen[QStringLiteral("DATAC")]);
    rtf.AddField(QStringLiteral("[NRP]"), ActNumber(chosen, perRequest));
}

// "[NOTIFNRDATA]": number/date of every notification, joined by "; ".
QString notificationNumbers(const ActContext &act)
{
    QStringList parts;
    for (const Row &n : LoadActsOfKind(act.request.id, QStringLiteral("14")))
        parts << ActNumber(n, act.settings.perRequestNumbering) + QLatin1Char('/') + n[QStringLiteral("DATAA")];
    return parts.join(QStringLiteral("; "));
}

// "[NRCOMUNICARE]": the number of the answer the act belongs to. Only an act
// without one (or whose answer is gone) falls back to counting back two
// places, which in individual numbering names the wrong document for an
// offer's display report.
QString answerNumber(const ActContext &act, const QString &actNumber)
{
    const qint64 idc = act.act.number(QStringLiteral("IDC"));
    if (idc > 0) {
        const Row answer = LoadAnswer(idc);
        if (!answer.isEmpty() && answer.number(QStringLiteral("ID")) == act.request.id)
            return ActNumber(answer, act.settings.perRequestNumbering);
    }
    return NumberBefore(actNumber, 2);
}

} // namespace

QString ShareText(const Row &request)
{
    return request[QStringLiteral("COTAPARTE")] + QStringLiteral(" (") + request[QStringLiteral("COTAPARTES")]
           + QStringLiteral(" ha)");
}

QString CurrentTime()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm"));
}

void AddInstitutionMarkers(TRTFReplace &rtf, const DocumentSettings &settings)
{
    rtf.AddField(QStringLiteral("[JUDET]"), settings.judet);
    rtf.AddField(QStringLiteral("[PRIMARIA]"), settings.unitate);
    rtf.AddField(QStringLiteral("[PRIMAR]"), settings.primar);
    rtf.AddField(QStringLiteral("[SECRETAR]"), settings.secretar);
    rtf.AddField(QStringLiteral("[LOCALIT]"), settings.localit);
}

Row ChosenAnswer(const ActContext &act, const QList<Row> &stageAnswers)
{
    const qint64 own = act.act.number(QStringLiteral("IDC"));
    if (own > 0) {
        const Row answer = LoadAnswer(own);
        if (!answer.isEmpty() && answer.number(QStringLiteral("ID")) == act.request.id)
            return answer;
    }
    Row chosen;
    for (const Row &a : stageAnswers) {
        chosen = a;
        if (a.number(QStringLiteral("IDC")) == act.selectedAnswer)
            break;
    }
    return chosen;
}

void AddCommonMarkers(TRTFReplace &rtf, const ActContext &act)
{
    const Row &r = act.request.row;
    const bool perRequest = act.settings.perRequestNumbering;
    const QString number = ActNumber(act.act, perRequest);
    rtf.AddField(QStringLiteral("[NRCOMUNICARE]"), answerNumber(act, number));
    rtf.AddField(QStringLiteral("[NRLP]"), NumberBefore(number, 1));
    const QList<Row> reports = LoadActsOfKind(act.request.id, QStringLiteral("1"));
    const Row report = reports.isEmpty() ? Row() : reports.first();
    rtf.AddField(QStringLiteral("[NRPVAFIS]"), report.isEmpty() ? QString() : ActNumber(report, perRequest));
    rtf.AddField(QStringLiteral("[DATAPVAFIS]"), report[QStringLiteral("DATAA")]);
    rtf.AddField(QStringLiteral("[NOTIFNRDATA]"), notificationNumbers(act));
    AddInstitutionMarkers(rtf, act.settings);
    rtf.AddField(QStringLiteral("[DATASCAD1]"), serialDate(act.request.dataScad1));
    rtf.AddField(QStringLiteral("[DATASCAD2]"), serialDate(act.request.dataScad2));
    rtf.AddField(QStringLiteral("[INTERVAL1]"), r[QStringLiteral("DATAC")] + QStringLiteral(" - ") + serialDate(act.request.dataScad1));
    rtf.AddField(QStringLiteral("[INTERVAL2]"),
                 serialDate(act.request.dataScad1 > 0 ? act.request.dataScad1 + 1 : 0) + QStringLiteral(" - ")
                     + serialDate(act.request.dataScad2));
    rtf.AddField(QStringLiteral("[NR]"), number);
    rtf.AddField(QStringLiteral("[DATAA]"), act.kind == 20 ? act.act[QStringLiteral("DATAC")] : act.act[QStringLiteral("DATAA")]);
    for (const char *field : {"DATAC", "FUNCTIONAR", "NRDOSAR", "PRET", "SUPRAF", "NRCAD", "NRCARTE", "TARLA", "NRTARLA",
                              "NRPARC", "CATEG"}) {
        const QString name = QString::fromLatin1(field);
        rtf.AddField(QLatin1Char('[') + name + QLatin1Char(']'), r[name]);
    }
    rtf.AddField(QStringLiteral("[NRC]"), act.request.number);
    rtf.AddField(QStringLiteral("[COTAPARTE]"), ShareText(r));
    rtf.AddField(QStringLiteral("[ORA]"), CurrentTime());
    addSellerMarkers(rtf, act);
    addAnswerMarkers(rtf, act);
}
