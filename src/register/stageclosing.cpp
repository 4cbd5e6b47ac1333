#include "register/stageclosing.h"

#include "datastore/auditlog.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "register/actrows.h"
#include "register/registersettings.h"

#include <QList>

using sqlstore::database;

namespace {

struct StepAct {
    const char *blocat;
    const char *modul;
    // Empty: the first seller; "*": the unit.
    const char *emitent;
    const char *destinatar;
    const char *tipact;
};

QString who(const char *name, const QString &seller, const QString &unit)
{
    if (name[0] == '\0')
        return seller;
    if (name[0] == '*')
        return unit;
    return QLatin1String(name);
}

// The answers of the current stage of a request, by date and number.
QList<qlonglong> stageAnswers(qlonglong requestId, bool stageTwo)
{
    QList<qlonglong> ids;
    sqlstore::Query q = database().query(QStringLiteral("SELECT IDC FROM ")
                                             + QuotedTablePath(QStringLiteral("Comunicari.dbf"))
                                             + QStringLiteral("\nWHERE ID=? AND ")
                                             + (stageTwo ? QStringLiteral("RANG=100") : QStringLiteral("RANG<100"))
                                             + QStringLiteral("\nORDER BY DATAC, NR"),
                                         {requestId});
    for (bool more = q.first(); more; more = q.next())
        ids << q.value(0).toLongLong();
    return ids;
}

} // namespace

StageClosing::StageClosing(Prompter &prompter, Chooser chooser, QWidget *hintTarget)
    : prompter_(prompter), chooser_(std::move(chooser)), hintTarget_(hintTarget)
{
}

bool StageClosing::ask(const QString &title, const QString &text)
{
    return prompter_.Mesaj(title, text, ButtonDa | ButtonNu, KindConfirmation) == ResultYes;
}

bool StageClosing::chooseAnswer(qlonglong requestId, bool stageTwo, qlonglong &idc)
{
    const QList<qlonglong> answers = stageAnswers(requestId, stageTwo);
    if (answers.isEmpty())
        return false;
    idc = answers.size() == 1 ? answers.first() : chooser_(!stageTwo);
    return idc != 0 && answers.contains(idc);
}

bool StageClosing::FinishStage(qlonglong requestId)
{
    lastChange_.reset();
    const RequestFile before = LoadRequestFile(requestId);
    QList<StepAct> acts;
    qlonglong idc = 0;
    int newState = before.stare;
    QString log;
    QString hint;
    if (before.stare == 1) {
        // A file marked as answered whose stage has no answer has nothing to decide.
        if (stageAnswers(requestId, before.stageTwo).isEmpty()) {
            prompter_.Mesaj(QStringLiteral("Finalizare Cerere"),
                            QStringLiteral("\rNu exista nicio Comunicare/Oferta in aceasta etapa!"), ButtonOk,
                            KindError);
            return false;
        }
        if (!ask(QStringLiteral("Finalizare Cerere"), before.stageTwo
                                                          ? QStringLiteral("\rFinalizam procedura cu POTENTIAL CUMPARATOR ?")
                                                          : QStringLiteral("\rFinalizam procedura CU COMUNICARE ?")))
            return false;
        if (!chooseAnswer(requestId, before.stageTwo, idc))
            return false;
        if (before.stageTwo)
            acts = {{"12", "intrare", "", "*", "DECIZIE ALEGERE POTENTIAL CUMPARATOR"},
                    {"21", "iesire", "DIN OFICIU", "D.A.J.", "P.V.FINALIZARE CU POTENTIAL CUMPARATOR"},
                    {"22", "iesire", "DIN OFICIU", "D.A.J.", "ADRESA FINALIZARE CU POTENTIAL CUMPARATOR"}};
        else
            acts = {{"12", "intrare", "", "*", "DECIZIE ALEGERE PREEMPTOR"},
                    {"8", "iesire", "DIN OFICIU", "D.A.J.", "P.V.FINALIZARE CU COMUNICARE"},
                    {"13", "iesire", "DIN OFICIU", "D.A.J.", "ADRESA FINALIZARE CU COMUNICARE"}};
        newState = before.stageTwo ? 5 : 2;
        log = (before.stageTwo ? QStringLiteral("FINALIZARE CU POTENTIAL CUMPARATOR - Cererea ")
                               : QStringLiteral("FINALIZARE CU COMUNICARE - Cererea "))
              + before.displayNumber;
        hint = QStringLiteral("Listati P.V. Finalizare\rsi Adresa Finalizare!");
    } else if (before.stare == 0 && !before.stageTwo) {
        if (!ask(QStringLiteral("P.V.incheiere Etapa I"), QStringLiteral("\rAdaugam P.V.INCHEIERE ETAPA I FARA COMUNICARE ?")))
            return false;
        acts = {{"17", "iesire", "DIN OFICIU", "D.A.J.", "P.V.INCHEIERE ET.I FARA COMUNICARE"}};
        log = QStringLiteral("Adaugare P.V.INCHEIERE ETAPA I FARA COMUNICARE - Cererea ") + before.displayNumber;
        hint = QStringLiteral("Listati P.V. Incheiere Etapa I fara Comunicare!");
    } else if (before.stare == 0) {
        if (!ask(QStringLiteral("Finalizare Procedura"), QStringLiteral("\rFinalizam Procedura FARA COMUNICARE ?")))
            return false;
        acts = {{"7", "iesire", "DIN OFICIU", "", "P.V.FINALIZARE FARA COMUNICARE"},
                {"10", "iesire", "DIN OFICIU", "D.A.J.", "ADRESA FINALIZARE FARA COMUNICARE"}};
        newState = 3;
        log = QStringLiteral("FINALIZARE FARA COMUNICARE - Cererea ") + before.displayNumber;
        hint = QStringLiteral("Listati P.V. Finalizare FARA Comunicare\rsi Adresa Finalizare FARA Comunicare!");
    } else {
        return false;
    }

    const QDate today = today_.isValid() ? today_ : QDate::currentDate();
    sqlstore::Transaction operation(session().dataFolder);
    const RequestFile r = LoadRequestFile(requestId);
    // Another workstation may have moved the file on while the clerk answered.
    if (r.stare != before.stare || r.stageTwo != before.stageTwo)
        throw sqlstore::SqlError(QStringLiteral("Starea cererii a fost schimbata intre timp. Reincercati."));
    const QString unit = LoadRegisterSettings().unitName;
    for (const StepAct &a : acts) {
        ActRow act;
        act.id = requestId;
        act.nr2 = r.nr2;
        act.nr2per = NextFileNumber(requestId);
        act.dataa = today;
        act.blocat = QLatin1String(a.blocat);
        act.modul = QLatin1String(a.modul);
        act.emitent = who(a.emitent, r.firstSeller, unit);
        act.destinatar = who(a.destinatar, r.firstSeller, unit);
        act.tipact = QLatin1String(a.tipact);
        act.detalii = QStringLiteral("Cererea ") + r.displayNumber + QStringLiteral(" - ") + r.firstSeller;
        act.idc = idc;
        lastActId_ = InsertActRow(act, TakeRegisterNumber());
    }
    LogAction(log);
    lastChange_ = newState == before.stare ? SetRequestStage(requestId, true) : SetRequestState(requestId, newState);
    operation.commit();
    prompter_.ShowIndication(hint, hintTarget_);
    return true;
}
