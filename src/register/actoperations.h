// The other acts of a request as the clerk handles them by hand: the
// archaeological-site address (kind 11) and any act registered by hand
// (no kind), the edit of an act's texts, and the deletion of an act with the
// acts that belong together with it, which may reopen the procedure:
//
//   deleting     removes also           and the request goes back to
//   7 or 10      7 and 10               STARE 0
//   8, 12, 13,   8, 12, 13, 21, 22      STARE 1
//   21 or 22
//   16, 18, 23   16, 18, 23             STARE 0 or 1 by the answers of its stage
//   17           -                      stage I (PV1 "N"), STARE by its answers
//
// The register opens TAddAltAct and hands its fields over. Each write runs in
// one transaction holding the data folder; questions come first. Writes throw
// sqlstore::SqlError or SettingsError; nothing of the operation is kept then.
#pragma once

#include "dialogs/answerlines.h"
#include "register/actrows.h"
#include "register/registerqueries.h"

#include <QDate>

#include <optional>

class Prompter;
class QWidget;

// A stored act as the edit opens it.
struct StoredAct {
    qlonglong ida = 0;
    qlonglong requestId = 0;
    // NR, or NR2/NR2PER in per-request numbering.
    QString number;
    // BLOCAT, trimmed; empty for an act registered by hand.
    QString blocat;
    OtherActLine line;
    // Whether DATAEXP holds a dispatch date (day 10000 or later).
    bool dispatched = false;
    // Date, direction and type stay as the procedure wrote them.
    bool locked() const { return !blocat.isEmpty(); }
};

class ActOperations {
public:
    // `hintTarget` is the "Listeaza Act" button the hints point at.
    explicit ActOperations(Prompter &prompter, QWidget *hintTarget = nullptr);

    // The day the archaeological-site address is dated (today unless set).
    void setToday(const QDate &today) { today_ = today; }

    // Registers the archaeological-site address of the request (no dialog)
    // and shows its listing hint. Returns the IDA.
    qlonglong AddSiteAddress(qlonglong requestId);
    // Registers an act typed by hand (no kind). Returns the IDA.
    qlonglong AddOtherAct(qlonglong requestId, const OtherActLine &line);

    StoredAct LoadAct(qlonglong ida);
    // Asks whether to drop the act's listed document (only when there is
    // one), then rewrites its fields; an act with a kind keeps its date,
    // direction and type whatever `line` holds.
    void EditAct(qlonglong ida, const OtherActLine &line);

    // Asks (a warning when the deletion reopens the procedure), then deletes
    // the act and the acts that go with it, with their documents, reopens
    // the request as its kind says and resets the "NR" counter. False when
    // the clerk said no.
    bool DeleteAct(qlonglong ida);

    // The Cereri write of the last deletion, when it wrote the request.
    const std::optional<RequestChange> &lastChange() const { return lastChange_; }

private:
    qlonglong insertByHand(const RequestFile &r, const OtherActLine &line, const QVariant &dispatch,
                           const QString &blocat);
    void reopen(qlonglong requestId, int kind);

    Prompter &prompter_;
    QWidget *hintTarget_;
    QDate today_;
    std::optional<RequestChange> lastChange_;
};

// The kinds deleted together with kind `kind` (itself included; empty for a
// kind that goes alone).
QList<int> ActGroupOf(int kind);
