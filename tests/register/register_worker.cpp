// A workstation for the register's process tests: its own program folder
// (where the request dialog's working tables live) on a shared data folder.
//
//     register_worker add PROGRAM DATA COUNT     adds COUNT requests
//     register_worker cycle PROGRAM DATA COUNT   COUNT rounds: add a request,
//                                                then edit it as the last one
//     register_worker answers PROGRAM DATA COUNT COUNT rounds: a request
//                                                carried through answers,
//                                                offers, closings and their
//                                                deletions (AnswerRound)
//
// It prints "ready" before the first operation and "done N" after each round
// (in the answers mode "begin N <operation>" before and "done N" after each
// operation); exit status 0 on success, 1 with the reason on standard error.
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "dialogs/workingtables.h"
#include "platform/error.h"
#include "platform/session.h"
#include "register/actoperations.h"
#include "register/answeroperations.h"
#include "register/requestlifecycle.h"
#include "register/stageclosing.h"
#include "sampleanswer.h"
#include "platform/prompter.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>

#include <cstdio>
#include <functional>

namespace {

// A clerk who says "Da" to everything and looks at no balloon.
class AgreeingPrompter : public Prompter {
public:
    int Mesaj(const QString &, const QString &, int, int) override { return ResultYes; }
    void ShowProblem(const QString &, QWidget *) override {}
    void ShowIndication(const QString &, QWidget *) override {}
    void ProgressBegin(const QString &, int) override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
};

CollectedRequest newRequest(int round, int holders)
{
    CollectedRequest c;
    c.tables = CreateWorkingTables(QStringLiteral("-1"));
    for (int s = 1; s <= 2; ++s) {
        SellerLine line;
        line.vanzator = QStringLiteral("VANZATOR %1-%2").arg(round).arg(s);
        AddSellerLine(c.tables, line);
    }
    for (int h = 1; h <= holders; ++h) {
        HolderLine line;
        line.nume = QStringLiteral("PREEMPTOR %1").arg(h);
        line.rang = h;
        line.posta = h == 2;
        AddHolderLine(c.tables, line, QStringLiteral("-1"));
    }
    c.fields.dataC = QDate::currentDate();
    c.fields.nrV = QStringLiteral("2");
    c.share = QStringLiteral("1/1");
    c.holderCount = holders;
    return c;
}

void editAsLast(RequestLifecycle &life, qlonglong id, int holders)
{
    CollectedRequest c;
    c.tables = CreateWorkingTables(QString::number(id));
    HolderLine extra;
    extra.nume = QStringLiteral("PREEMPTOR NOU");
    extra.rang = 7;
    AddHolderLine(c.tables, extra, QString::number(id));
    c.fields.dataC = QDate::currentDate();
    c.fields.nrV = QStringLiteral("2");
    c.fields.nr = QString::number(id);
    c.share = QStringLiteral("1/1");
    c.holderCount = holders + 1;
    life.EditLastRequest(id, c);
    DropWorkingTables(c.tables);
}

// Dated today, like every act of the worker: the reset of the "NR" counter
// after a deletion counts only this year's acts.
AnswerLine answerLine(const QString &name, int rank, const QString &price)
{
    return registertest::answerLine(QDate::currentDate(), name, rank, price);
}

void need(bool done, const char *what)
{
    if (!done)
        throw ArvenaError(QStringLiteral("%1 did nothing").arg(QLatin1String(what)));
}

// The operations of one round of the answers mode, in order. A request gets
// the site address, communications (one deleted), a decision for a single
// holder and one among two, each undone by deleting a closing act; with its
// communications deleted stage I ends, an offer is decided on and undone, the
// file closes without communication and is reopened, stage I comes back, and
// a last communication closes it for good.
class AnswerRound {
public:
    explicit AnswerRound(Prompter &prompter)
        : life_(prompter), answers_(prompter), acts_(prompter),
          closing_(prompter, [this](bool) { return chosen_; })
    {
    }

    QList<std::pair<const char *, std::function<void()>>> operations(int round)
    {
        const int holders = 1 + round % 2;
        return {
            {"request",
             [=, this] {
                 CollectedRequest c = newRequest(round, holders);
                 id_ = life_.AddRequest(c);
                 DropWorkingTables(c.tables);
             }},
            {"site address", [this] { acts_.AddSiteAddress(id_); }},
            {"communication", [this] { a_ = answers_.AddAnswer(id_, answerLine("PREEMPTOR 1", 1, "0")); }},
            {"communication", [this] { b_ = answers_.AddAnswer(id_, answerLine("PREEMPTOR 2", 2, "0")); }},
            {"delete communication", [this] { need(answers_.DeleteAnswer(a_), "delete communication"); }},
            {"decision", [this] { need(closing_.FinishStage(id_), "decision"); }},
            {"delete closing act", [this] { deleteAct("8"); }},
            {"communication", [this] { c_ = answers_.AddAnswer(id_, answerLine("STRAIN 3", 3, "0")); }},
            {"decision among two",
             [this] {
                 chosen_ = c_;
                 need(closing_.FinishStage(id_), "decision among two");
             }},
            {"delete closing act", [this] { deleteAct("12"); }},
            {"delete communication", [this] { need(answers_.DeleteAnswer(b_), "delete communication"); }},
            {"delete communication", [this] { need(answers_.DeleteAnswer(c_), "delete communication"); }},
            {"end of stage I", [this] { need(closing_.FinishStage(id_), "end of stage I"); }},
            {"offer", [this] { a_ = answers_.AddAnswer(id_, answerLine("CUMPARATOR SRL", 1, "150000")); }},
            {"decision for the buyer", [this] { need(closing_.FinishStage(id_), "decision for the buyer"); }},
            {"delete closing act", [this] { deleteAct("21"); }},
            {"delete offer", [this] { need(answers_.DeleteAnswer(a_), "delete offer"); }},
            {"finalisation without communication",
             [this] { need(closing_.FinishStage(id_), "finalisation without communication"); }},
            {"delete closing act", [this] { deleteAct("7"); }},
            {"delete end of stage I", [this] { deleteAct("17"); }},
            {"communication", [this] { a_ = answers_.AddAnswer(id_, answerLine("PREEMPTOR 1", 1, "0")); }},
            {"decision", [this] { need(closing_.FinishStage(id_), "decision"); }},
        };
    }

private:
    void deleteAct(const char *blocat)
    {
        const qlonglong ida = sqlstore::database()
                                  .scalar(QStringLiteral("SELECT IDA FROM ") + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                                              + QStringLiteral(" WHERE ID=? AND BLOCAT=?"),
                                          {id_, QLatin1String(blocat)})
                                  .toLongLong();
        need(ida != 0 && acts_.DeleteAct(ida), "delete act");
    }

    RequestLifecycle life_;
    AnswerOperations answers_;
    ActOperations acts_;
    StageClosing closing_;
    qlonglong id_ = 0;
    qlonglong a_ = 0, b_ = 0, c_ = 0;
    qlonglong chosen_ = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 4)
        return 2;
    resetSession(args[1]);
    QDir().mkpath(session().programFolder);
    session().dataFolder = args[2];
    session().workstationUser = QStringLiteral("PC") + QString::number(QCoreApplication::applicationPid());
    sqlstore::database().setLockTimeout(120000);
    AgreeingPrompter prompter;
    RequestLifecycle life(prompter);
    const bool cycle = args[0] == QLatin1String("cycle");
    std::printf("ready\n");
    std::fflush(stdout);
    try {
        if (args[0] == QLatin1String("answers")) {
            AnswerRound round(prompter);
            int step = 0;
            for (int r = 1; r <= args[3].toInt(); ++r)
                for (const auto &[name, operation] : round.operations(r)) {
                    ++step;
                    std::printf("begin %d %s\n", step, name);
                    std::fflush(stdout);
                    operation();
                    std::printf("done %d\n", step);
                    std::fflush(stdout);
                }
            return 0;
        }
        for (int round = 1; round <= args[3].toInt(); ++round) {
            const int holders = round % 4;
            CollectedRequest c = newRequest(round, holders);
            const qlonglong id = life.AddRequest(c);
            DropWorkingTables(c.tables);
            if (cycle)
                editAsLast(life, id, holders);
            std::printf("done %d\n", round);
            std::fflush(stdout);
        }
    } catch (const ArvenaError &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
