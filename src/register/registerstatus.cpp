#include "register/registerstatus.h"

#include "datastore/calendar.h"

namespace {

QString shortDate(int serial)
{
    return FromDaySerial(serial).toString(QStringLiteral("dd.MM.yyyy"));
}

// A stage's end; the 31-day rule of old requests leaves both ends empty and
// waits until DataScad.
int stageEnd(int end, const RequestColumns &c)
{
    return end != 0 ? end : c.DataScad;
}

RequestStatus waiting(const QString &lastDay, const QString &whom, int days, int end)
{
    if (days <= 0)
        return {lastDay};
    return {QStringLiteral("Asteptam ") + whom + QStringLiteral(" inca ") + QString::number(days)
            + QStringLiteral(" zile. (") + shortDate(end) + QLatin1Char(')')};
}

RequestStatus openStatus(int stare, bool stageOne, const RequestColumns &c, int today)
{
    const bool expired = c.Expirat == QLatin1String("X");
    const int end1 = stageEnd(c.DataScad1, c);
    const int end2 = stageEnd(c.DataScad2, c);
    if (expired && stare == 0 && !stageOne)
        return {QStringLiteral("Termen depasit. Puteti elibera P.V.Finalizare!"), true,
                QStringLiteral("Eliberare P.V.Finalizare")};
    if (expired && stare == 0)
        return {QStringLiteral("S-a incheiat etapa I. Eliberati P.V.incheiere etapa!"), true,
                QStringLiteral("Adauga PV incheiere etapa I")};
    if (expired)
        return {stageOne ? QStringLiteral("Asteptam Alegere Preemptor...") : QStringLiteral("Asteptam Alegere Cumparator..."),
                true, QStringLiteral("Am Decizia de Alegere")};
    if (stageOne)
        return waiting(QStringLiteral("Ultima zi de primire Comunicari."), QStringLiteral("Comunicari"), end1 - today,
                       end1);
    if (stare == 0)
        return waiting(QStringLiteral("Ultima zi de primire Ofertanti."), QStringLiteral("Ofertanti"), c.ZileRamase,
                       end2);
    return waiting(QStringLiteral("Ultima zi de primire Oferte."), QStringLiteral("Ofertanti"), end2 - today, end2);
}

} // namespace

RequestStatus StatusOf(int stare, const QString &pv1, const RequestColumns &columns, int today)
{
    switch (stare) {
    case 2:
        return {QStringLiteral("Inchis, cu Comunicare.")};
    case 3:
        return {QStringLiteral("Inchis Fara Comunicare")};
    case 4:
        return {QStringLiteral("Inchis din alte motive (deces, cerere retragere, etc).")};
    case 5:
        return {QStringLiteral("Inchis cu Potential cumparator.")};
    default:
        return openStatus(stare, InStageOne(pv1), columns, today);
    }
}

RequestButtons RequestButtonsFor(int stare)
{
    RequestButtons b;
    b.open = stare == 0 || stare == 1;
    b.reactivate = stare == 4;
    b.anyRow = stare != -1;
    return b;
}

ActButtons ActButtonsFor(bool hasAct, const QString &blocat, int requestStare)
{
    ActButtons b;
    if (!hasAct)
        return b;
    bool ok = false;
    int kind = blocat.trimmed().toInt(&ok);
    if (!ok)
        kind = -1;
    const bool open = requestStare < 2;
    b.edit = true;
    b.list = kind >= 0;
    static const QList<int> openKinds = {11, 16, 17};
    static const QList<int> closedKinds = {7, 8, 10, 11, 12, 13, 16, 18, 21, 22, 23};
    b.del = kind == -1 || (open && openKinds.contains(kind)) || (!open && closedKinds.contains(kind));
    return b;
}

StageCaptions StageCaptionsFor(bool stageOne)
{
    if (stageOne)
        return {QStringLiteral("  Comunicari de acceptare"), QStringLiteral("Comunicare"), QStringLiteral("Cumparator"),
                QStringLiteral("Adauga Comunicare"), QStringLiteral("Modifica Comunicare"),
                QStringLiteral("Sterge Comunicare"), QStringLiteral("Listeaza Comunicare"), true,
                QStringLiteral("Comunicare de acceptare"), QStringLiteral("Numar Comunicare")};
    return {QStringLiteral("  Oferte de cumparare"), QStringLiteral("Oferta"), QStringLiteral("Potential cumparator"),
            QStringLiteral("Adauga Oferta"), QStringLiteral("Modifica Oferta"), QStringLiteral("Sterge Oferta"),
            QStringLiteral("Listeaza Oferta"), false, QStringLiteral("Oferta de cumparare"),
            QStringLiteral("Numar Oferta")};
}
