// The closing of a stage of a request whose term has passed, behind the
// register's stage button:
//
//   before                      step                               after
//   STARE 0, stage I            report closing stage I (17)        stage II
//   STARE 0, stage II           finalisation without answer (7,10) STARE 3
//   STARE 1, stage I            decision for a holder (12, 8, 13)  STARE 2
//   STARE 1, stage II           decision for a buyer (12, 21, 22)  STARE 5
//
// A decision names one answer of the current stage: with one answer it is
// that one, with more the register's chooser is asked (TAlegePree). Each
// step asks first, then writes its acts and the request's new state in one
// transaction holding the data folder. Writes throw sqlstore::SqlError or
// SettingsError; nothing of the step is kept then.
#pragma once

#include "register/registerqueries.h"

#include <QDate>

#include <functional>
#include <optional>

class Prompter;
class QWidget;

class StageClosing {
public:
    // Asked when two or more answers compete (`communications` in stage I):
    // the IDC chosen, or 0 when the clerk did not choose.
    using Chooser = std::function<qlonglong(bool communications)>;

    StageClosing(Prompter &prompter, Chooser chooser, QWidget *hintTarget = nullptr);

    // The day the acts are dated (today unless set).
    void setToday(const QDate &today) { today_ = today; }

    // Runs the step the request's state calls for. False when the clerk
    // declined, did not choose, or there was nothing to close (a request
    // marked as having answers whose stage has none writes nothing).
    bool FinishStage(qlonglong requestId);

    // The Cereri write of the last step; IDA of the last act written.
    const std::optional<RequestChange> &lastChange() const { return lastChange_; }
    qlonglong lastActId() const { return lastActId_; }

private:
    bool ask(const QString &title, const QString &text);
    bool chooseAnswer(qlonglong requestId, bool stageTwo, qlonglong &idc);

    Prompter &prompter_;
    Chooser chooser_;
    QWidget *hintTarget_;
    QDate today_;
    std::optional<RequestChange> lastChange_;
    qlonglong lastActId_ = 0;
};
