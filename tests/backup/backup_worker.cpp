// The second process of the backup tests: a program killed in the middle of
// a backup or a restore, and another workstation in the middle of a
// transaction.
//
//   backup_worker pack PROGRAM TARGET STEP      stops at progress step STEP of "Salvez datele..."
//   backup_worker restore PROGRAM ARCHIVE STEP  stops at step STEP of the replacement
//   backup_worker hold DATA                     a transaction that has written Cereri, not yet Log
//
// Each prints "held" when it is there and waits for its standard input to
// close (the test kills the first two instead).
#include "backup/backupactions.h"
#include "backup/pack.h"
#include "datastore/auditlog.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void holdUntilStdinCloses()
{
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
}

// Stops the process at the STEP-th progress step of one phase.
class StoppingPrompter : public Prompter {
public:
    StoppingPrompter(const QString &phase, int step) : phase_(phase), step_(step) {}
    int Mesaj(const QString &, const QString &, int, int) override { return ResultOk; }
    void ShowProblem(const QString &, QWidget *) override {}
    void ShowIndication(const QString &, QWidget *) override {}
    void ProgressBegin(const QString &description, int) override { inPhase_ = description == phase_; }
    void ProgressStep() override
    {
        if (inPhase_ && ++steps_ == step_)
            holdUntilStdinCloses();
    }
    void ProgressEnd() override { inPhase_ = false; }

private:
    QString phase_;
    int step_;
    int steps_ = 0;
    bool inPhase_ = false;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args[1] == "pack") {
        resetSession(args[2]);
        StoppingPrompter prompter(QStringLiteral("Salvez datele..."), args[4].toInt());
        return backup::Pack(args[3], prompter, 2).ok ? 0 : 1;
    }
    if (args.size() >= 5 && args[1] == "restore") {
        resetSession(args[2]);
        StoppingPrompter prompter(QStringLiteral("Inlocuiesc datele..."), args[4].toInt());
        return backup::RestoreFromArchive(args[3], prompter) ? 0 : 1;
    }
    if (args.size() >= 3 && args[1] == "hold") {
        session().dataFolder = args[2];
        sqlstore::Transaction transaction(args[2]);
        sqlstore::database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                                      + QStringLiteral(" (ID, NR) VALUES (?, ?)"),
                                  {900, 900});
        holdUntilStdinCloses();
        LogAction(QStringLiteral("Cererea 900"));
        transaction.commit();
        return 0;
    }
    return 2;
}
