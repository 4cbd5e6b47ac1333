// The life of a request as the register drives it: add, edit (the last
// request, whose holders and opening acts are rebuilt, or an older one, whose
// answers and acts stay), delete, cancel and reactivate. The window collects
// the request dialog's values and calls these; each asks its questions
// through the Prompter and writes inside one transaction, so that its rows
// land together or not at all, and no other workstation sees half of it.
// Ids and register numbers are taken inside that transaction, which holds
// the data folder, so two workstations never number alike.
//
//   RequestLifecycle life(prompter);
//   if (dialog.OpenRequestDialog("-1", true)) {
//       qlonglong id = life.AddRequest(CollectedFrom(dialog));
//       dialog.DropTables();
//   }
//
// Every write throws sqlstore::SqlError or SettingsError when a table or the
// settings file cannot be written; nothing of the operation is kept then.
#pragma once

#include "dialogs/requestchecks.h"
#include "dialogs/workingtables.h"
#include "register/registerqueries.h"

#include <QDate>
#include <QString>

#include <optional>

class Prompter;
class QWidget;

// What the request dialog hands over when the clerk saved.
struct CollectedRequest {
    // The fields as shown (numbers as typed, texts cleaned by its checks).
    RequestFields fields;
    // COTAPARTE as "numerator/denominator".
    QString share;
    // The working seller and holder tables (holders with NUMEOLD when editing).
    WorkingTables tables;
    // The number of holder lines (NRPREE).
    int holderCount = 0;
};

// How an edit goes on after its first question.
enum class EditKind { Stopped, LastRequest, OlderRequest };

class RequestLifecycle {
public:
    // `hintTarget` is the "Listeaza Act" button the hint balloons point at
    // (null when headless).
    explicit RequestLifecycle(Prompter &prompter, QWidget *hintTarget = nullptr);

    // The date cancellation acts take (today unless set).
    void setToday(const QDate &today) { today_ = today; }

    // Writes a new request with its sellers, holders and opening acts, logs
    // it and shows the listing hint. Returns its ID.
    qlonglong AddRequest(const CollectedRequest &request);

    // The questions before the dialog opens: for the last request whether to
    // go on although its answers and later acts will go; for an older one the
    // notice that only the last request's holders can change.
    EditKind PrepareEdit(qlonglong id);
    // The last request: its fields and sellers rewritten, its holders,
    // communications, offers and acts replaced by the dialog's holders and new
    // opening acts; it is back at STARE 0 in stage I. The "NR" counter never
    // moves backwards.
    void EditLastRequest(qlonglong id, const CollectedRequest &request);
    // An older request: fields and sellers rewritten, holders updated in place
    // and a renamed holder's notification renamed; answers and acts stay.
    void EditOlderRequest(qlonglong id, const CollectedRequest &request);

    // Asks, then deletes the request with all its rows and cached documents
    // and resets the "NR" counter. False when the clerk said no.
    bool DeleteRequest(qlonglong id);
    // Asks, then closes the request as cancelled (STARE 4) with its three
    // cancellation acts. False when the clerk said no.
    bool CancelProcedure(qlonglong id);
    // Asks, then reopens a cancelled request: STARE 0, or 1 when its current
    // stage has a communication or offer. False when the clerk said no.
    bool ReactivateRequest(qlonglong id);

    // The Cereri write of the last cancel or reactivation (for the register's
    // refresh); empty after the other operations.
    const std::optional<RequestChange> &lastChange() const { return lastChange_; }
    // IDA of the last act the last operation wrote.
    qlonglong lastActId() const { return lastActId_; }

private:
    struct Identity;
    void insertOpeningActs(const Identity &request, const QString &firstSeller);
    void insertAct(const Identity &request, qlonglong nr, int position, const QDate &date, const QString &blocat,
                   const QString &modul, const QString &emitent, const QString &destinatar, const QString &tipact,
                   const QString &detalii, const QVariant &dispatch, qlonglong idc);
    void updateRequestRow(qlonglong id, const CollectedRequest &request, bool backToStageOne);
    void replaceSellers(qlonglong id, const WorkingTables &tables);
    void copyHolders(qlonglong id, const WorkingTables &tables);
    void askToRebuildForm(qlonglong id);

    Prompter &prompter_;
    QWidget *hintTarget_;
    QDate today_;
    std::optional<RequestChange> lastChange_;
    qlonglong lastActId_ = 0;
};

// The first seller (by NRCRT) of a working seller table.
QString FirstSellerName(const WorkingTables &tables);
