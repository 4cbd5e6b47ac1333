// A workstation for the register's process tests: its own program folder
// (where the request dialog's working tables live) on a shared data folder.
//
//     register_worker add PROGRAM DATA COUNT     adds COUNT requests
//     register_worker cycle PROGRAM DATA COUNT   COUNT rounds: add a request,
//                                                then edit it as the last one
//
// It prints "ready" before the first operation and "done N" after each; exit
// status 0 on success, 1 with the reason on standard error.
#include "datastore/sql/database.h"
#include "dialogs/workingtables.h"
#include "platform/error.h"
#include "platform/session.h"
#include "register/requestlifecycle.h"
#include "platform/prompter.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>

#include <cstdio>

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
