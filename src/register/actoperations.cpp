#include "register/actoperations.h"

#include "datastore/auditlog.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "dialogs/answerchecks.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "register/cacheddocuments.h"
#include "register/deadlines.h"
#include "register/registersettings.h"

#include <QFile>

using sqlstore::database;

namespace {

QString alteActe()
{
    return QuotedTablePath(QStringLiteral("AlteActe.dbf"));
}

// A dispatch date is a day from 10000 on (counted from 30.12.1899); the
// zero day and the empty date stand for "not sent".
bool isDispatchDate(const QVariant &value)
{
    const QDate d = value.toDate();
    return d.isValid() && QDate(1899, 12, 30).daysTo(d) >= 10000;
}

// The kinds whose deletion reopens a closed procedure.
bool reopensProcedure(int kind)
{
    static const QList<int> kinds = {7, 8, 10, 12, 13, 16, 18, 21, 22, 23};
    return kinds.contains(kind);
}

int kindOf(const QString &blocat)
{
    bool ok = false;
    const int kind = blocat.trimmed().toInt(&ok);
    return ok ? kind : 1000;
}

} // namespace

QList<int> ActGroupOf(int kind)
{
    static const QList<QList<int>> groups = {{7, 10}, {8, 12, 13, 21, 22}, {16, 18, 23}};
    for (const QList<int> &group : groups)
        if (group.contains(kind))
            return group;
    return {};
}

ActOperations::ActOperations(Prompter &prompter, QWidget *hintTarget) : prompter_(prompter), hintTarget_(hintTarget)
{
}

qlonglong ActOperations::insertByHand(const RequestFile &r, const OtherActLine &line, const QVariant &dispatch,
                                      const QString &blocat)
{
    ActRow act;
    act.id = r.id;
    act.nr2 = r.nr2;
    act.nr2per = NextFileNumber(r.id);
    act.dataa = line.dataA;
    act.dataexp = dispatch;
    act.modul = line.modul;
    act.emitent = line.emitent;
    act.destinatar = line.destinatar;
    act.tipact = line.tipAct;
    act.detalii = line.detalii;
    act.blocat = blocat;
    const qlonglong nr = TakeRegisterNumber();
    const qlonglong ida = InsertActRow(act, nr);
    const QString number =
        EntryDisplayNumber(nr, r.nr2, act.nr2per, LoadRegisterSettings().perRequestNumbering);
    LogAction(QStringLiteral("Adaugare ") + line.tipAct + QStringLiteral(" nr.") + number);
    return ida;
}

qlonglong ActOperations::AddSiteAddress(qlonglong requestId)
{
    const QDate today = today_.isValid() ? today_ : QDate::currentDate();
    sqlstore::Transaction operation(session().dataFolder);
    const RequestFile r = LoadRequestFile(requestId);
    OtherActLine line;
    line.dataA = today;
    line.modul = QStringLiteral("iesire");
    line.emitent = QStringLiteral("DIN OFICIU");
    line.destinatar = r.firstSeller;
    line.tipAct = QStringLiteral("ADRESA SIT ARHEOLOGIC");
    line.detalii = QStringLiteral("Cererea ") + QString::number(r.nr);
    const qlonglong ida = insertByHand(r, line, today, QStringLiteral("11"));
    operation.commit();
    prompter_.ShowIndication(QStringLiteral("Listati Adresa de aici!"), hintTarget_);
    return ida;
}

qlonglong ActOperations::AddOtherAct(qlonglong requestId, const OtherActLine &line)
{
    sqlstore::Transaction operation(session().dataFolder);
    const RequestFile r = LoadRequestFile(requestId);
    const qlonglong ida = insertByHand(r, line, line.dataExp, QString());
    operation.commit();
    return ida;
}

StoredAct ActOperations::LoadAct(qlonglong ida)
{
    sqlstore::Query q =
        database().query(QStringLiteral("SELECT * FROM ") + alteActe() + QStringLiteral("\nWHERE IDA=?"), {ida});
    if (q.isEmpty())
        throw sqlstore::SqlError(QStringLiteral("Actul nu mai exista in baza de date."));
    const auto text = [&q](const char *column) { return q.value(QLatin1String(column)).toString().trimmed(); };
    StoredAct a;
    a.ida = ida;
    a.requestId = q.value(QStringLiteral("ID")).toLongLong();
    const auto whole = [&q](const char *column) { return q.value(QLatin1String(column)).toLongLong(); };
    a.number = EntryDisplayNumber(whole("NR"), whole("NR2"), whole("NR2PER"), LoadRegisterSettings().perRequestNumbering);
    a.blocat = text("BLOCAT");
    a.dispatched = isDispatchDate(q.value(QStringLiteral("DATAEXP")));
    a.line.dataA = q.value(QStringLiteral("DATAA")).toDate();
    a.line.dataExp = a.dispatched ? q.value(QStringLiteral("DATAEXP")).toDate() : NoDispatchDate();
    a.line.modul = text("MODUL");
    a.line.emitent = text("EMITENT");
    a.line.destinatar = text("DESTINATAR");
    a.line.tipAct = text("TIPACT");
    a.line.detalii = text("DETALII");
    return a;
}

void ActOperations::EditAct(qlonglong ida, const OtherActLine &typed)
{
    const StoredAct stored = LoadAct(ida);
    OtherActLine line = typed;
    if (stored.locked()) {
        line.dataA = stored.line.dataA;
        line.modul = stored.line.modul;
        line.tipAct = stored.line.tipAct;
    }
    bool dropDocument = false;
    if (QFile::exists(ActDocumentPath(ida)))
        dropDocument = prompter_.Mesaj(QStringLiteral("Modificare Act"),
                                       QStringLiteral("\rDoriti sa stergeti modificarile anterioare?"),
                                       ButtonDa | ButtonNu, KindConfirmation)
                       == ResultYes;
    sqlstore::Transaction operation(session().dataFolder);
    LogAction(QStringLiteral("Modificare ") + line.tipAct + QStringLiteral(" nr.") + stored.number);
    database().exec(QStringLiteral("UPDATE ") + alteActe()
                        + QStringLiteral("\nSET DATAA=?,\nDATAEXP=?,\nMODUL=?,\nEMITENT=?,\nDESTINATAR=?,\nTIPACT=?,\n"
                                         "DETALII=?\nWHERE IDA=?"),
                    {line.dataA, line.dataExp, line.modul, FitActText(line.emitent), FitActText(line.destinatar),
                     FitActText(line.tipAct), FitActText(line.detalii), ida});
    operation.commit();
    if (dropDocument)
        RemoveActDocument(ida);
}

bool ActOperations::DeleteAct(qlonglong ida)
{
    lastChange_.reset();
    const StoredAct stored = LoadAct(ida);
    const int kind = kindOf(stored.blocat);
    const QString name = stored.line.tipAct + QStringLiteral(" nr.") + stored.number;
    const bool reopens = reopensProcedure(kind);
    const int answer =
        reopens ? prompter_.Mesaj(QStringLiteral("Stergere Act"),
                                  QStringLiteral("\rStergand actul ") + name
                                      + QStringLiteral(", REDESCHIDETI Procedura!!\rContinuati ?"),
                                  ButtonDa | ButtonNu, KindWarning)
                : prompter_.Mesaj(QStringLiteral("Stergere Act"), QStringLiteral("\rStergeti ") + name + QStringLiteral(" ?"),
                                  ButtonDa | ButtonNu, KindConfirmation);
    if (answer != ResultYes)
        return false;
    QList<qlonglong> removed;
    {
        sqlstore::Transaction operation(session().dataFolder);
        QString condition = QStringLiteral("\nWHERE (IDA=?)");
        QVariantList values{ida};
        const QList<int> group = ActGroupOf(kind);
        if (!group.isEmpty()) {
            QStringList kinds;
            for (const int k : group)
                kinds << QStringLiteral("BLOCAT='%1'").arg(k);
            condition += QStringLiteral("\nOR\n((ID=?)\nAND (") + kinds.join(QStringLiteral(" OR ")) + QStringLiteral("))");
            values << stored.requestId;
        }
        sqlstore::Query q = database().query(QStringLiteral("SELECT IDA FROM ") + alteActe() + condition, values);
        for (bool more = q.first(); more; more = q.next())
            removed << q.value(0).toLongLong();
        database().exec(QStringLiteral("DELETE FROM ") + alteActe() + condition, values);
        LogAction(QStringLiteral("Stergere ") + name);
        reopen(stored.requestId, kind);
        operation.commit();
    }
    ResetRegisterCounter();
    for (const qlonglong removedIda : removed)
        RemoveActDocument(removedIda);
    return true;
}

void ActOperations::reopen(qlonglong requestId, int kind)
{
    switch (kind) {
    case 7:
    case 10:
        lastChange_ = SetRequestState(requestId, 0);
        break;
    case 8:
    case 12:
    case 13:
    case 21:
    case 22:
        lastChange_ = SetRequestState(requestId, 1);
        break;
    case 16:
    case 18:
    case 23:
        lastChange_ = SetRequestState(requestId, StageHasAnswers(requestId, LoadRequestFile(requestId).stageTwo) ? 1 : 0);
        break;
    case 17: {
        // Back in stage I: the state follows the communications of stage I,
        // not whatever offers stage II had received.
        const RequestChange stage = SetRequestStage(requestId, false);
        RequestChange state = SetRequestState(requestId, StageHasAnswers(requestId, false) ? 1 : 0);
        state.before = stage.before;
        lastChange_ = state;
        break;
    }
    default:
        break;
    }
}
