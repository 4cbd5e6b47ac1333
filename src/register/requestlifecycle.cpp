#include "register/requestlifecycle.h"

#include "datastore/auditlog.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "datastore/sql/sqltext.h"
#include "dialogs/numericrules.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "register/actrows.h"
#include "register/cacheddocuments.h"
#include "register/deadlines.h"
#include "register/registersettings.h"

#include <QFile>

using sqlstore::database;
using sqlstore::quoteName;

namespace {

QString table(const char *fileName)
{
    return QuotedTablePath(QLatin1String(fileName));
}

qlonglong takeNumber(const char *counter)
{
    return TakeNextNumber(QLatin1String(counter)).toLongLong();
}

// The column lists of the copies from the working tables.
const char *const kHolderColumns = "IDP, ID, RANG, POSTA, TIPPF, NUME, ADRESA, CNP, RC, CODPOSTAL, EMAIL, TEL";
const char *const kHolderSelection = "IDP, ?, RANG, POSTA, TIPPF, NUME, ADRESA, CNP, RC, CODPOSTAL, EMAIL, TEL";
const char *const kSellerColumns =
    "IDV,  ID, NRCRT,   VANZATOR, CNPCUI, LOCV,   ADRESA,\nJUDET, BI, BISERIA, BINR,     BIELIB, BIDATA, TEL,\n"
    "MANDATAR, MCALITATE, MCONFORM, MCNPCUI, MLOCV,   MADRESA,\nMJUDET, MCODPOST, MBI, MBISERIA, MBINR,  MBIELIB, "
    "MBIDATA, MTEL";
const char *const kSellerSelection =
    "IDV, ?, NRCRT,   VANZATOR, CNPCUI, LOCV,   ADRESA,\nJUDET, BI, BISERIA, BINR, BIELIB, BIDATA, TEL,\n"
    "MANDATAR, MCALITATE, MCONFORM, MCNPCUI, MLOCV,   MADRESA,\nMJUDET, MCODPOST, MBI, MBISERIA, MBINR,  MBIELIB, "
    "MBIDATA, MTEL";

// The ids of the rows of `fileName` that belong to request `id`.
QList<qlonglong> idsOfRequest(const char *fileName, const char *idColumn, qlonglong id)
{
    QList<qlonglong> ids;
    sqlstore::Query q = database().query(QStringLiteral("SELECT ") + QLatin1String(idColumn) + QStringLiteral(" FROM ")
                                             + table(fileName) + QStringLiteral("\nWHERE ID=?"),
                                         {id});
    for (bool more = q.first(); more; more = q.next())
        ids << q.value(0).toLongLong();
    return ids;
}

} // namespace

// The request's numbers, as its acts carry them.
struct RequestLifecycle::Identity {
    qlonglong id = 0;
    qlonglong nr = 0;
    qlonglong nr2 = 0;
    QDate datac;
};

QString FirstSellerName(const WorkingTables &tables)
{
    return database()
        .scalar(QStringLiteral("SELECT VANZATOR FROM ") + quoteName(tables.sellers) + QStringLiteral("\nORDER BY NRCRT"))
        .toString()
        .trimmed();
}

RequestLifecycle::RequestLifecycle(Prompter &prompter, QWidget *hintTarget)
    : prompter_(prompter), hintTarget_(hintTarget)
{
}

void RequestLifecycle::insertAct(const Identity &request, qlonglong nr, int position, const QDate &date,
                                 const QString &blocat, const QString &modul, const QString &emitent,
                                 const QString &destinatar, const QString &tipact, const QString &detalii,
                                 const QVariant &dispatch, qlonglong idc)
{
    ActRow act;
    act.id = request.id;
    act.nr2 = request.nr2;
    act.nr2per = position;
    act.dataa = date;
    act.dataexp = dispatch;
    act.blocat = blocat;
    act.modul = modul;
    act.emitent = emitent;
    act.destinatar = destinatar;
    act.tipact = tipact;
    act.detalii = detalii;
    act.idc = idc;
    lastActId_ = InsertActRow(act, nr);
}

void RequestLifecycle::insertOpeningActs(const Identity &request, const QString &firstSeller)
{
    const RegisterSettings settings = LoadRegisterSettings();
    const QString details = QStringLiteral("Cererea ")
                            + RequestDisplayNumber(request.nr, request.nr2, settings.perRequestNumbering)
                            + QStringLiteral(" - ") + firstSeller;
    const QString offices = QStringLiteral("D.A.J. si A.D.S.");
    const QString issued = QStringLiteral("iesire");
    // The acts follow the request's number; the counter only ever moves on,
    // so numbers other files took meanwhile are not given out again.
    const qlonglong counterBefore = PeekNextNumber(QStringLiteral("NR")).toLongLong();
    qlonglong nr = request.nr + 1;
    int position = 1;
    const auto act = [&](const char *blocat, const QString &tipact, const QString &destinatar,
                         const QVariant &dispatch = QVariant(), qlonglong idc = 0) {
        insertAct(request, nr++, position++, request.datac, QLatin1String(blocat), issued, settings.unitName,
                  destinatar, tipact, details, dispatch, idc);
    };
    act("9", QStringLiteral("LISTA PREEMPTORILOR DUPA OFERTA"), offices);
    sqlstore::Query holders = database().query(QStringLiteral("SELECT IDP, RANG, NUME, POSTA FROM ")
                                                   + table("Preemptori.dbf")
                                                   + QStringLiteral("\nWHERE ID=?\nORDER BY RANG, NUME"),
                                               {request.id});
    for (bool more = holders.first(); more; more = holders.next()) {
        const bool byPost = holders.value(QStringLiteral("POSTA")).toString().trimmed() == QLatin1String("DA");
        act("14", QStringLiteral("NOTIFICARE PREEMPTOR"), holders.value(QStringLiteral("NUME")).toString().trimmed(),
            byPost ? QVariant(request.datac) : QVariant(), holders.value(QStringLiteral("IDP")).toLongLong());
    }
    act("1", QStringLiteral("PROCES VERBAL DE AFISARE OFERTA"), offices);
    act("2", QStringLiteral("ADRESA DE INAINTARE OFERTA SI LP"), QStringLiteral("D.A.J."));
    act("15", QStringLiteral("ADRESA DE INAINTARE OFERTA SI LP"), QStringLiteral("A.D.S."));
    SetNextNumber(QStringLiteral("NR"), std::max(counterBefore, nr) * 10000);
}

void RequestLifecycle::copyHolders(qlonglong id, const WorkingTables &tables)
{
    database().exec(QStringLiteral("INSERT INTO ") + table("Preemptori.dbf") + QStringLiteral("\n(")
                        + QLatin1String(kHolderColumns) + QStringLiteral(")\nSELECT ")
                        + QLatin1String(kHolderSelection) + QStringLiteral("\nFROM ") + quoteName(tables.holders),
                    {id});
}

void RequestLifecycle::replaceSellers(qlonglong id, const WorkingTables &tables)
{
    database().exec(QStringLiteral("DELETE FROM ") + table("Vanzatori.dbf") + QStringLiteral("\nWHERE ID=?"), {id});
    database().exec(QStringLiteral("INSERT INTO ") + table("Vanzatori.dbf") + QStringLiteral("\n(")
                        + QLatin1String(kSellerColumns) + QStringLiteral(")\nSELECT ")
                        + QLatin1String(kSellerSelection) + QStringLiteral("\nFROM ") + quoteName(tables.sellers),
                    {id});
}

qlonglong RequestLifecycle::AddRequest(const CollectedRequest &request)
{
    lastChange_.reset();
    const RequestFields &f = request.fields;
    sqlstore::Transaction operation(session().dataFolder);
    Identity r;
    r.id = takeNumber("ID");
    r.nr = takeNumber("NR");
    r.nr2 = takeNumber("NR2");
    r.datac = f.dataC;
    RemoveRequestDocuments(r.id);
    copyHolders(r.id, request.tables);
    replaceSellers(r.id, request.tables);
    database().exec(QStringLiteral("INSERT INTO ") + table("Cereri.dbf")
                        + QStringLiteral("\n(ID, NR, NR2, NRDOSAR, DATAC, TIPPF,\nSUPRAF, COTAPARTE, COTAPARTES, "
                                         "FARACONTR, PRET, NRCAD, NRCARTE, TARLA, NRTARLA, NRPARC, CATEG,\n"
                                         "FUNCTIONAR, STARE, PV1, NRV, NRPREE, LITIGII, GREVAT, CONDITII)\n"
                                         "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 'N', ?, "
                                         "?, ?, ?, ?)"),
                    {r.id, r.nr, r.nr2, f.nrDosar, f.dataC, f.tipPF, f.supraf, request.share, f.cotaParteS,
                     f.faraContr == QLatin1String("DA") ? QStringLiteral("X") : QString(), NumericValue(f.pret),
                     f.nrCad, f.nrCarte, f.tarla, f.nrTarla, f.nrParc, f.categ, f.functionar,
                     NumericValue(f.nrV), request.holderCount, f.litigii, f.grevat, f.conditii});
    insertOpeningActs(r, FirstSellerName(request.tables));
    const bool perRequest = LoadRegisterSettings().perRequestNumbering;
    LogAction(QStringLiteral("Adaugare Cerere: ") + RequestDisplayNumber(r.nr, r.nr2, perRequest)
              + QStringLiteral(", LP, Notif, PV si Adresa de inaintare."));
    operation.commit();
    prompter_.ShowIndication(QStringLiteral("Listati Procesul verbal de afisare\rNotificarile si Adresa de inaintare!"),
                             hintTarget_);
    return r.id;
}

EditKind RequestLifecycle::PrepareEdit(qlonglong id)
{
    const qlonglong newest =
        database().scalar(QStringLiteral("SELECT MAX(ID) AS IDMAX FROM ") + table("Cereri.dbf")).toLongLong();
    if (id == newest) {
        const int answer = prompter_.Mesaj(
            QStringLiteral("Modificare Cerere"),
            QStringLiteral("ATENTIE !\rSe vor sterge Comunicarile/Ofertele introduse si actele aferente!\rContinuati?"),
            ButtonDa | ButtonNu, KindWarning);
        return answer == ResultYes ? EditKind::LastRequest : EditKind::Stopped;
    }
    prompter_.Mesaj(QStringLiteral("Modificare Cerere"),
                    QStringLiteral("ATENTIE !\rPuteti modifica Numarul de Preemptori doar la ultima Cerere introdusa!"),
                    ButtonOk, KindInformation);
    return EditKind::OlderRequest;
}

void RequestLifecycle::askToRebuildForm(qlonglong id)
{
    const QString form = RequestFormPath(id);
    if (!QFile::exists(form))
        return;
    if (prompter_.Mesaj(QStringLiteral("Modificare Cerere"),
                        QStringLiteral("\rDoriti sa refaceti Cererea listata anterior?"), ButtonDa | ButtonNu,
                        KindConfirmation)
        == ResultYes)
        QFile::remove(form);
}

void RequestLifecycle::updateRequestRow(qlonglong id, const CollectedRequest &request, bool backToStageOne)
{
    const RequestFields &f = request.fields;
    // The last request loses its answers and closing acts: it starts again.
    const QString restart = backToStageOne ? QStringLiteral(",\nSTARE=0,\nPV1='N'") : QString();
    database().exec(QStringLiteral("UPDATE ") + table("Cereri.dbf")
                        + QStringLiteral("\nSET DATAC=?,\nNRDOSAR=?,\nTIPPF=?,\nSUPRAF=?,\nCOTAPARTE=?,\n"
                                         "COTAPARTES=?,\nFARACONTR=?,\nPRET=?,\nNRCAD=?,\nNRCARTE=?,\nTARLA=?,\n"
                                         "NRTARLA=?,\nNRPARC=?,\nCATEG=?,\nFUNCTIONAR=?,\nNRV=?,\nLITIGII=?,\n"
                                         "GREVAT=?,\nNRPREE=?,\nCONDITII=?")
                        + restart + QStringLiteral("\nWHERE ID=?"),
                    {f.dataC, f.nrDosar, f.tipPF, f.supraf, request.share, f.cotaParteS,
                     f.faraContr == QLatin1String("DA") ? QStringLiteral("X") : QString(), NumericValue(f.pret),
                     f.nrCad, f.nrCarte, f.tarla, f.nrTarla, f.nrParc, f.categ, f.functionar, NumericValue(f.nrV),
                     f.litigii, f.grevat, request.holderCount, f.conditii, id});
    LogAction(QStringLiteral("Modificare Cerere: ") + f.nr);
}

void RequestLifecycle::EditLastRequest(qlonglong id, const CollectedRequest &request)
{
    lastChange_.reset();
    askToRebuildForm(id);
    sqlstore::Transaction operation(session().dataFolder);
    const RequestFile file = LoadRequestFile(id);
    const Identity r{id, file.nr, file.nr2, request.fields.dataC};
    const QList<qlonglong> acts = idsOfRequest("AlteActe.dbf", "IDA", id);
    const QList<qlonglong> answers = idsOfRequest("Comunicari.dbf", "IDC", id);
    updateRequestRow(id, request, true);
    replaceSellers(id, request.tables);
    for (const char *file : {"Preemptori.dbf", "Comunicari.dbf", "AlteActe.dbf"})
        database().exec(QStringLiteral("DELETE FROM ") + table(file) + QStringLiteral("\nWHERE ID=?"), {id});
    copyHolders(id, request.tables);
    insertOpeningActs(r, FirstSellerName(request.tables));
    operation.commit();
    for (const qlonglong ida : acts)
        RemoveActDocument(ida);
    for (const qlonglong idc : answers)
        RemoveCommunicationDocument(idc);
}

void RequestLifecycle::EditOlderRequest(qlonglong id, const CollectedRequest &request)
{
    lastChange_.reset();
    askToRebuildForm(id);
    sqlstore::Transaction operation(session().dataFolder);
    updateRequestRow(id, request, false);
    replaceSellers(id, request.tables);
    sqlstore::Query holders = database().query(QStringLiteral("SELECT * FROM ") + quoteName(request.tables.holders));
    const bool renames = holders.fieldIndex(QStringLiteral("NUMEOLD")) >= 0;
    for (bool more = holders.first(); more; more = holders.next()) {
        const auto text = [&holders](const char *column) {
            return holders.value(QLatin1String(column)).toString().trimmed();
        };
        database().exec(QStringLiteral("UPDATE ") + table("Preemptori.dbf")
                            + QStringLiteral("\nSET RANG=?,\nPOSTA=?,\nTIPPF=?,\nNUME=?,\nADRESA=?,\nCNP=?,\nRC=?,\n"
                                             "CODPOSTAL=?,\nEMAIL=?,\nTEL=?\nWHERE IDP=?"),
                        {holders.value(QStringLiteral("RANG")), text("POSTA"), text("TIPPF"), text("NUME"),
                         text("ADRESA"), text("CNP"), text("RC"), text("CODPOSTAL"), text("EMAIL"), text("TEL"),
                         holders.value(QStringLiteral("IDP"))});
        if (renames && text("NUME") != text("NUMEOLD"))
            database().exec(QStringLiteral("UPDATE ") + table("AlteActe.dbf")
                                + QStringLiteral("\nSET DESTINATAR=?\nWHERE ID=?\nAND BLOCAT='14'\nAND DESTINATAR=?"),
                            {FitActText(text("NUME")), id, text("NUMEOLD")});
    }
    operation.commit();
}

bool RequestLifecycle::DeleteRequest(qlonglong id)
{
    lastChange_.reset();
    const QString nr = database()
                           .scalar(QStringLiteral("SELECT NR FROM ") + table("Cereri.dbf") + QStringLiteral("\nWHERE ID=?"),
                                   {id})
                           .toString();
    if (prompter_.Mesaj(QStringLiteral("Stergere Cerere"),
                        QStringLiteral("\rDoriti sa stergeti Cererea ") + nr + QStringLiteral("\rcu toate datele ei?"),
                        ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return false;
    QList<qlonglong> acts, answers;
    {
        sqlstore::Transaction operation(session().dataFolder);
        acts = idsOfRequest("AlteActe.dbf", "IDA", id);
        answers = idsOfRequest("Comunicari.dbf", "IDC", id);
        LogAction(QStringLiteral("Stergere Cerere: ") + nr);
        for (const char *file : {"Cereri.dbf", "Comunicari.dbf", "AlteActe.dbf", "Preemptori.dbf", "Vanzatori.dbf"})
            database().exec(QStringLiteral("DELETE FROM ") + table(file) + QStringLiteral("\nWHERE ID=?"), {id});
        operation.commit();
    }
    RemoveRequestDocuments(id);
    for (const qlonglong ida : acts)
        RemoveActDocument(ida);
    for (const qlonglong idc : answers)
        RemoveCommunicationDocument(idc);
    ResetRegisterCounter();
    return true;
}

bool RequestLifecycle::CancelProcedure(qlonglong id)
{
    lastChange_.reset();
    if (prompter_.Mesaj(QStringLiteral("Anulare Procedura"),
                        QStringLiteral("Puteti reactiva Cererea de la butonul Reactivare Cerere\rsau Stergand de la Alte "
                                       "acte ultimul Act!\rANULAM PROCEDURA?"),
                        ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return false;
    const RegisterSettings settings = LoadRegisterSettings();
    const QDate today = today_.isValid() ? today_ : QDate::currentDate();
    sqlstore::Transaction operation(session().dataFolder);
    const RequestFile file = LoadRequestFile(id);
    const Identity r{id, file.nr, file.nr2, today};
    RequestChange change = SetRequestState(id, 4);
    const QString &seller = file.firstSeller;
    const QString number = QString::number(r.nr);
    const QString offices = QStringLiteral("D.A.J. si A.D.S.");
    const auto act = [&](const char *blocat, const char *modul, const QString &emitent, const QString &destinatar,
                         const char *tipact, const QString &detalii) {
        insertAct(r, takeNumber("NR"), NextFileNumber(id), today, QLatin1String(blocat), QLatin1String(modul),
                  emitent, destinatar, QLatin1String(tipact), detalii, QVariant(), 0);
    };
    act("23", "intrare", seller, settings.unitName, "CERERE ANULARE PROCEDURA",
        QStringLiteral("Cerere anulare procedura Cerere nr.") + number + QStringLiteral(" - ") + seller);
    act("16", "iesire", settings.unitName, offices, "P.V. ANULARE PROCEDURA",
        QStringLiteral("P.V. Anulare procedura Cerere nr.") + number + QStringLiteral(" - ") + seller);
    act("18", "iesire", settings.unitName, offices, "ADRESA ANULARE PROCEDURA",
        QStringLiteral("Anulare procedura Cerere nr.") + number + QStringLiteral(" - ") + seller);
    operation.commit();
    lastChange_ = change;
    prompter_.ShowIndication(QStringLiteral("Listati P.V. de Anulare procedura\rsi Adresa de Anulare procedura!"),
                             hintTarget_);
    return true;
}

bool RequestLifecycle::ReactivateRequest(qlonglong id)
{
    lastChange_.reset();
    if (prompter_.Mesaj(QStringLiteral("Reactivare Cerere"), QStringLiteral("\rDoriti reactivarea cererii?"),
                        ButtonDa | ButtonNu, KindConfirmation)
        != ResultYes)
        return false;
    sqlstore::Transaction operation(session().dataFolder);
    const QString pv1 = database()
                            .scalar(QStringLiteral("SELECT PV1 FROM ") + table("Cereri.dbf") + QStringLiteral("\nWHERE ID=?"),
                                    {id})
                            .toString()
                            .trimmed();
    const bool stageTwo = !pv1.isEmpty() && pv1 != QLatin1String("N");
    lastChange_ = SetRequestState(id, StageHasAnswers(id, stageTwo) ? 1 : 0);
    operation.commit();
    return true;
}
