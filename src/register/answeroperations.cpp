#include "register/answeroperations.h"

#include "datastore/auditlog.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "dialogs/numericrules.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "register/cacheddocuments.h"
#include "register/deadlines.h"
#include "register/registersettings.h"

#include <QFile>

using sqlstore::database;

namespace {

QString comunicari()
{
    return QuotedTablePath(QStringLiteral("Comunicari.dbf"));
}

QString kindWord(bool stageTwo)
{
    return stageTwo ? QStringLiteral("Oferta") : QStringLiteral("Comunicare");
}

// The acts of answer `idc`: those of its stage's kinds, in its request.
QString answerActsCondition(bool stageTwo)
{
    return stageTwo ? QStringLiteral("(BLOCAT='6' OR BLOCAT='19')")
                    : QStringLiteral("(BLOCAT='3' OR BLOCAT='4' OR BLOCAT='5')");
}

} // namespace

QList<AnswerActKind> AnswerActKinds(bool stageTwo)
{
    if (stageTwo)
        return {{"6", 2, "D.A.J. si A.D.S.", "P.V. AFISARE OFERTA CUMPARARE"},
                {"19", 3, "D.A.J.", "ADRESA DE INAINTARE OFERTA CUMPARARE"}};
    return {{"3", 1, "D.A.J. si A.D.S.", "LISTA PREEMPTORI"},
            {"4", 2, "D.A.J. si A.D.S.", "P.V. AFISARE COMUNICARE"},
            {"5", 3, "D.A.J.", "ADRESA DE INAINTARE COMUNICARE"}};
}

AnswerOperations::AnswerOperations(Prompter &prompter, QWidget *hintTarget)
    : prompter_(prompter), hintTarget_(hintTarget)
{
}

bool AnswerOperations::CanAddAnswer(qlonglong requestId)
{
    facts_ = LoadRequestFile(requestId);
    if (facts_.stare < 2)
        return true;
    prompter_.Mesaj(QStringLiteral("Adaugare Comunicare/Oferta"), QStringLiteral("\rDosarul este inchis!"), ButtonOk,
                    KindError);
    return false;
}

qlonglong AnswerOperations::AddAnswer(qlonglong requestId, const AnswerLine &line)
{
    lastChange_.reset();
    sqlstore::Transaction operation(session().dataFolder);
    const RequestFile r = LoadRequestFile(requestId);
    if (r.stare >= 2)
        throw sqlstore::SqlError(QStringLiteral("Dosarul este inchis!"));
    const int p = NextFileNumber(requestId);
    const QString word = kindWord(r.stageTwo);
    const qlonglong nr = TakeRegisterNumber();
    const qlonglong idc = TakeNextNumber(QStringLiteral("IDC")).toLongLong();
    RemoveCommunicationDocument(idc);
    LogAction(QStringLiteral("Adaugare ") + word + QStringLiteral(": ") + QString::number(nr));
    database().exec(QStringLiteral("INSERT INTO ") + comunicari()
                        + QStringLiteral("\n(IDC, ID,     NR,   NR2, NR2PER, DATAC, TIPPF, CUMPARATOR, CNPCUI, RANG,\n"
                                         " LOC, ADRESA, PRET, DATAAFIS)\nVALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                         "?, ?)"),
                    {idc, requestId, nr, r.nr2, p, line.dataC, line.tippf, line.cumparator, line.cnpcui,
                     r.stageTwo ? 100 : line.rang, line.loc, line.adresa, NumericValue(line.pret), line.dataAfis});
    const QString details = (r.stageTwo ? QStringLiteral("Potential cumparator ") : QStringLiteral("Preemptor "))
                            + line.cumparator + QStringLiteral(" la Cererea nr.") + QString::number(r.nr)
                            + QStringLiteral(" - ") + r.firstSeller;
    const QString unit = LoadRegisterSettings().unitName;
    for (const AnswerActKind &kind : AnswerActKinds(r.stageTwo)) {
        ActRow act;
        act.id = requestId;
        act.nr2 = r.nr2;
        act.nr2per = p + kind.offset;
        act.dataa = line.dataC;
        act.blocat = QLatin1String(kind.blocat);
        act.modul = QStringLiteral("iesire");
        act.emitent = unit;
        act.destinatar = QLatin1String(kind.destinatar);
        act.tipact = QLatin1String(kind.tipact);
        act.detalii = details;
        act.idc = idc;
        InsertActRow(act, TakeRegisterNumber());
    }
    lastChange_ = SetRequestState(requestId, 1);
    LogAction(QStringLiteral("Adaugare ") + word + QStringLiteral(" la cererea ") + r.displayNumber
              + QStringLiteral(", (LP), PV si Adresa de inaintare."));
    operation.commit();
    facts_ = r;
    prompter_.ShowIndication(r.stageTwo ? QStringLiteral("Listati P.V. Afisare Oferta de cumparare\rsi Adresa de "
                                                         "inaintare!")
                                        : QStringLiteral("Listati Lista preemptorilor,\rP.V. Afisare Comunicare\rsi "
                                                         "Adresa de inaintare!"),
                             hintTarget_);
    return idc;
}

StoredAnswer AnswerOperations::LoadAnswer(qlonglong idc)
{
    sqlstore::Query q =
        database().query(QStringLiteral("SELECT * FROM ") + comunicari() + QStringLiteral("\nWHERE IDC=?"), {idc});
    if (q.isEmpty())
        throw sqlstore::SqlError(QStringLiteral("Comunicarea/Oferta nu mai exista in baza de date."));
    const auto text = [&q](const char *column) { return q.value(QLatin1String(column)).toString().trimmed(); };
    StoredAnswer a;
    a.idc = idc;
    a.requestId = q.value(QStringLiteral("ID")).toLongLong();
    const auto whole = [&q](const char *column) { return q.value(QLatin1String(column)).toLongLong(); };
    a.nr = whole("NR");
    a.number = EntryDisplayNumber(whole("NR"), whole("NR2"), whole("NR2PER"), LoadRegisterSettings().perRequestNumbering);
    a.line.dataC = q.value(QStringLiteral("DATAC")).toDate();
    a.line.dataAfis = q.value(QStringLiteral("DATAAFIS")).toDate();
    a.line.tippf = text("TIPPF");
    const int rang = q.value(QStringLiteral("RANG")).toInt();
    a.line.rang = rang >= 1 && rang <= 7 ? rang : 1;
    a.line.cumparator = text("CUMPARATOR");
    a.line.cnpcui = text("CNPCUI");
    a.line.loc = text("LOC");
    a.line.adresa = text("ADRESA");
    a.line.pret = ShortestDecimal(q.value(QStringLiteral("PRET")).toDouble());
    facts_ = LoadRequestFile(a.requestId);
    return a;
}

void AnswerOperations::EditAnswer(qlonglong idc, const AnswerLine &line)
{
    lastChange_.reset();
    const StoredAnswer stored = LoadAnswer(idc);
    bool dropDocument = false;
    if (QFile::exists(CommunicationDocumentPath(idc)))
        dropDocument = prompter_.Mesaj(QStringLiteral("Modificare Comunicare"),
                                       QStringLiteral("\rDoriti sa stergeti modificarile anterioare?"),
                                       ButtonDa | ButtonNu, KindConfirmation)
                       == ResultYes;
    sqlstore::Transaction operation(session().dataFolder);
    const bool stageTwo = LoadRequestFile(stored.requestId).stageTwo;
    LogAction(QStringLiteral("Modificare Comunicare: ") + stored.number);
    // An offer keeps RANG 100 whatever the dialog's rank list shows.
    const QString rank = stageTwo ? QString() : QStringLiteral("RANG=?,\n");
    QVariantList values{line.dataC, line.tippf, line.cumparator, line.cnpcui};
    if (!stageTwo)
        values << line.rang;
    values << line.loc << line.adresa << NumericValue(line.pret) << line.dataAfis << idc;
    database().exec(QStringLiteral("UPDATE ") + comunicari()
                        + QStringLiteral("\nSET DATAC=?,\nTIPPF=?,\nCUMPARATOR=?,\nCNPCUI=?,\n") + rank
                        + QStringLiteral("LOC=?,\nADRESA=?,\nPRET=?,\nDATAAFIS=?\nWHERE IDC=?"),
                    values);
    LogAction(QStringLiteral("Modificare Comunicare/Oferta: ") + stored.number);
    operation.commit();
    if (dropDocument)
        RemoveCommunicationDocument(idc);
}

bool AnswerOperations::DeleteAnswer(qlonglong idc)
{
    lastChange_.reset();
    const StoredAnswer stored = LoadAnswer(idc);
    const bool stageTwo = facts_.stageTwo;
    const QString word = kindWord(stageTwo);
    const QString nr = QString::number(stored.nr);
    if (prompter_.Mesaj(QStringLiteral("Stergere ") + word,
                        QStringLiteral("\rDoriti sa stergeti Comunicarea/Oferta ") + nr + QStringLiteral("?"),
                        ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return false;
    QList<qlonglong> acts;
    {
        sqlstore::Transaction operation(session().dataFolder);
        LogAction(QStringLiteral("Stergere ") + word + QStringLiteral(": ") + nr);
        const QString condition = QStringLiteral("\nWHERE ID=? AND IDC=? AND ") + answerActsCondition(stageTwo);
        sqlstore::Query q = database().query(QStringLiteral("SELECT IDA FROM ")
                                                 + QuotedTablePath(QStringLiteral("AlteActe.dbf")) + condition,
                                             {stored.requestId, idc});
        for (bool more = q.first(); more; more = q.next())
            acts << q.value(0).toLongLong();
        database().exec(QStringLiteral("DELETE FROM ") + QuotedTablePath(QStringLiteral("AlteActe.dbf")) + condition,
                        {stored.requestId, idc});
        database().exec(QStringLiteral("DELETE FROM ") + comunicari() + QStringLiteral("\nWHERE IDC=?"), {idc});
        lastChange_ = SetRequestState(stored.requestId, StageHasAnswers(stored.requestId, stageTwo) ? 1 : 0);
        operation.commit();
    }
    ResetRegisterCounter();
    RemoveCommunicationDocument(idc);
    for (const qlonglong ida : acts)
        RemoveActDocument(ida);
    return true;
}
