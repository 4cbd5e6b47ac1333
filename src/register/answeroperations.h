// The answers a displayed request receives: acceptance communications of
// pre-emption holders in stage I, purchase offers of potential buyers in
// stage II (Comunicari, an offer with RANG 100), each recorded with the acts
// issued for it. The register opens TAddComun and hands its fields over:
//
//   AnswerOperations answers(prompter, listActButton);
//   if (!answers.CanAddAnswer(id)) return;            // a closed file says so
//   dialog.setNumber(NextEntryNumber(id));
//   if (dialog.EditCommunication(true, answers.facts().pret))
//       idc = answers.AddAnswer(id, dialog.answerLine());
//
// Every write runs in one transaction holding the data folder: the answer,
// its acts, the request's STARE and the log rows land together or not at
// all. Questions are asked before the transaction begins, so no other
// workstation waits for the clerk. Writes throw sqlstore::SqlError or
// SettingsError; nothing of the operation is kept then.
#pragma once

#include "dialogs/answerlines.h"
#include "register/actrows.h"
#include "register/registerqueries.h"

#include <QList>

#include <optional>

class Prompter;
class QWidget;

// A stored answer as the edit opens it.
struct StoredAnswer {
    qlonglong idc = 0;
    qlonglong requestId = 0;
    // NR, the register number.
    qlonglong nr = 0;
    // Its number as shown: NR, or NR2/NR2PER in per-request numbering.
    QString number;
    AnswerLine line;
};

class AnswerOperations {
public:
    // `hintTarget` is the "Listeaza Act" button the hints point at (null when
    // headless).
    explicit AnswerOperations(Prompter &prompter, QWidget *hintTarget = nullptr);

    // False, after "Dosarul este inchis!", when the request is closed.
    bool CanAddAnswer(qlonglong requestId);
    // The request as read by CanAddAnswer or LoadAnswer.
    const RequestFile &facts() const { return facts_; }

    // Stores the answer of the request's current stage with its acts (stage
    // I: list, display report and address at file numbers p+1..p+3; stage
    // II: display report and address at p+2, p+3) and sets STARE 1. Shows
    // the listing hint. Returns the new IDC.
    qlonglong AddAnswer(qlonglong requestId, const AnswerLine &line);

    // The answer's fields for the edit dialog (its own price included).
    StoredAnswer LoadAnswer(qlonglong idc);
    // Asks whether to drop the answer's listed document (only when there is
    // one), then rewrites its fields; its acts stay as they are.
    void EditAnswer(qlonglong idc, const AnswerLine &line);

    // Asks, then deletes the answer with the acts recorded for it and their
    // documents; STARE follows the answers left in the current stage, and the
    // "NR" counter is reset. False when the clerk said no.
    bool DeleteAnswer(qlonglong idc);

    // The Cereri write of the last add or delete (for the register's
    // refresh); empty when the request row was not written.
    const std::optional<RequestChange> &lastChange() const { return lastChange_; }

private:
    Prompter &prompter_;
    QWidget *hintTarget_;
    RequestFile facts_;
    std::optional<RequestChange> lastChange_;
};

// The acts a stage's answer is recorded with, in the order written: kind,
// place after the answer's file number, addressee and type.
struct AnswerActKind {
    const char *blocat;
    int offset;
    const char *destinatar;
    const char *tipact;
};
QList<AnswerActKind> AnswerActKinds(bool stageTwo);
