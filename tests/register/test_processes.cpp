// The register's operations across processes: a workstation killed at any
// point leaves every request whole or absent, every answer and closing whole
// or absent, and two workstations adding at once never share a register
// number.
#include "registertesting.h"

#include "datastore/counters.h"
#include "testsupport.h"

#include <QHash>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

#include <csignal>

using namespace registertest;
using sqlstore::database;

namespace {

QString worker()
{
    return testsupport::binary("register_worker");
}

// What is wrong with the requests of the data folder, or empty text: each
// must have its sellers, its holders, its opening acts numbered right after
// it, and its log row; no row may belong to a missing request.
QString firstProblem()
{
    sqlstore::Query requests = database().query("SELECT ID, NR, NRV, NRPREE FROM " + QuotedTablePath("Cereri.dbf"));
    for (bool more = requests.first(); more; more = requests.next()) {
        const qlonglong id = requests.value("ID").toLongLong();
        const qlonglong nr = requests.value("NR").toLongLong();
        const QString which = QStringLiteral("request %1: ").arg(id);
        if (countOf("Vanzatori.dbf", "ID=?", {id}) != requests.value("NRV").toLongLong())
            return which + "sellers";
        const qlonglong holders = countOf("Preemptori.dbf", "ID=?", {id});
        if (holders != requests.value("NRPREE").toLongLong())
            return which + "holders";
        sqlstore::Query q = acts(id);
        if (q.rowCount() != holders + 4)
            return which + QStringLiteral("%1 acts").arg(q.rowCount());
        for (int i = 0; i < q.rowCount(); ++i, q.next())
            if (q.value("NR").toLongLong() != nr + 1 + i || q.value("NR2PER").toInt() != i + 1)
                return which + "act numbers";
        if (countOf("Log.dbf", "ACTIUNE LIKE ?", {QStringLiteral("Adaugare Cerere: %1,%").arg(nr)}) != 1)
            return which + "log";
    }
    for (const char *file : {"Vanzatori.dbf", "Preemptori.dbf", "AlteActe.dbf"})
        if (countOf(file, "ID NOT IN (SELECT ID FROM " + QuotedTablePath("Cereri.dbf") + ")") != 0)
            return QString(file) + ": rows of a missing request";
    return {};
}

// A communication or offer, and an act, as the checks below read them.
struct FileAnswer {
    qlonglong idc, nr;
    int nr2per, rang;
};
struct FileAct {
    QString blocat;
    qlonglong nr;
    int nr2per;
    qlonglong idc;
};

// The acts an answer is recorded with: kind and place after the answer's file
// number; their register numbers follow the answer's one by one.
const QList<std::pair<QString, int>> kCommunicationActs{{"3", 1}, {"4", 2}, {"5", 3}};
const QList<std::pair<QString, int>> kOfferActs{{"6", 2}, {"19", 3}};

// What is wrong with the answers, acts and closings of the data folder, or
// empty text: each request has its opening acts; each answer its acts of its
// stage, numbered right after it, and no such act is left without its answer;
// each closing step is there whole or not at all, numbered one after another
// and naming an answer of its stage; STARE and PV1 agree with the acts and
// answers; no file number is given twice in a file.
QString firstFileProblem()
{
    const QString cereri = QuotedTablePath("Cereri.dbf");
    const QString comunicari = QuotedTablePath("Comunicari.dbf");
    const QString alteActe = QuotedTablePath("AlteActe.dbf");
    QHash<qlonglong, QList<FileAnswer>> answersOf;
    sqlstore::Query c = database().query("SELECT ID, IDC, NR, NR2PER, RANG FROM " + comunicari);
    for (bool more = c.first(); more; more = c.next())
        answersOf[c.value(0).toLongLong()] << FileAnswer{c.value(1).toLongLong(), c.value(2).toLongLong(),
                                                         c.value(3).toInt(), c.value(4).toInt()};
    QHash<qlonglong, QList<FileAct>> actsOf;
    sqlstore::Query a = database().query("SELECT ID, BLOCAT, NR, NR2PER, IDC FROM " + alteActe + " ORDER BY NR");
    for (bool more = a.first(); more; more = a.next())
        actsOf[a.value(0).toLongLong()] << FileAct{a.value(1).toString().trimmed(), a.value(2).toLongLong(),
                                                    a.value(3).toInt(), a.value(4).toLongLong()};
    QSet<qlonglong> requestIds;
    sqlstore::Query r = database().query("SELECT ID, NR, NRPREE, STARE, PV1 FROM " + cereri);
    for (bool more = r.first(); more; more = r.next()) {
        const qlonglong id = r.value(0).toLongLong();
        requestIds << id;
        const qlonglong nr = r.value(1).toLongLong();
        const QString which = QStringLiteral("request %1: ").arg(id);
        const QList<FileAnswer> answers = answersOf.value(id);
        const QList<FileAct> acts = actsOf.value(id);
        QSet<int> positions;
        for (const FileAnswer &x : answers)
            positions << x.nr2per;
        for (const FileAct &x : acts)
            positions << x.nr2per;
        if (positions.size() != answers.size() + acts.size())
            return which + "a file number used twice";

        QMap<QString, QList<FileAct>> byKind;
        for (const FileAct &x : acts)
            byKind[x.blocat] << x;
        int opening = 0;
        for (const FileAct &x : acts)
            if (QStringList{"9", "14", "1", "2", "15"}.contains(x.blocat)) {
                if (x.nr != nr + 1 + opening || x.nr2per != opening + 1)
                    return which + "opening act numbers";
                ++opening;
            }
        if (opening != r.value(2).toInt() + 4)
            return which + QStringLiteral("%1 opening acts").arg(opening);

        // Each answer with its acts; then no act of an answer may be left over.
        int answerActs = 0;
        for (const FileAnswer &x : answers) {
            const auto &kinds = x.rang == 100 ? kOfferActs : kCommunicationActs;
            for (int k = 0; k < kinds.size(); ++k) {
                int found = 0;
                for (const FileAct &act : byKind.value(kinds[k].first))
                    if (act.idc == x.idc) {
                        ++found;
                        if (act.nr != x.nr + 1 + k || act.nr2per != x.nr2per + kinds[k].second)
                            return which + QStringLiteral("numbers of the acts of answer %1").arg(x.idc);
                    }
                if (found != 1)
                    return which + QStringLiteral("answer %1 has %2 acts of kind ").arg(x.idc).arg(found) + kinds[k].first;
                ++answerActs;
            }
        }
        int actsOfAnswers = 0;
        for (const char *kind : {"3", "4", "5", "6", "19"})
            actsOfAnswers += byKind.value(kind).size();
        if (actsOfAnswers != answerActs)
            return which + "acts of a missing answer";

        // The closing steps: each group whole and numbered in order, or absent.
        const auto group = [&](const QStringList &kinds, bool offers, QString &problem) {
            // The decision (12) heads both groups with an answer: the others tell them apart.
            int present = 0;
            for (const QString &k : kinds)
                present += k != "12" && byKind.value(k).size() ? 1 : 0;
            if (present == 0)
                return false;
            for (const QString &k : kinds)
                if (byKind.value(k).size() != 1) {
                    problem = which + kinds.join('+') + " not whole";
                    return false;
                }
            const FileAct first = byKind.value(kinds[0]).first();
            for (int i = 1; i < kinds.size(); ++i) {
                const FileAct next = byKind.value(kinds[i]).first();
                if (next.nr != first.nr + i || next.nr2per != first.nr2per + i || next.idc != first.idc)
                    problem = which + kinds.join('+') + " numbers";
            }
            if (kinds[0] == "12") {
                bool named = false;
                for (const FileAnswer &x : answers)
                    named = named || (x.idc == first.idc && (x.rang == 100) == offers);
                if (!named)
                    problem = which + kinds.join('+') + " names no answer of its stage";
            }
            return true;
        };
        QString problem;
        const bool withHolder = group({"12", "8", "13"}, false, problem);
        const bool withBuyer = !withHolder && group({"12", "21", "22"}, true, problem);
        const bool withoutAnswer = group({"7", "10"}, false, problem);
        if (!problem.isEmpty())
            return problem;
        if (!withHolder && !withBuyer && !byKind.value("12").isEmpty())
            return which + "a decision without its acts";
        if (byKind.value("17").size() > 1)
            return which + "stage I closed twice";
        const bool stageTwo = byKind.value("17").size() == 1;
        if (r.value(4).toString().trimmed() != (stageTwo ? "D" : "N"))
            return which + "PV1 " + r.value(4).toString();
        bool answered = false;
        for (const FileAnswer &x : answers)
            answered = answered || (x.rang == 100) == stageTwo;
        const int stare = r.value(3).toInt();
        const int expected = withHolder ? 2 : withBuyer ? 5 : withoutAnswer ? 3 : answered ? 1 : 0;
        if (int(withHolder) + int(withBuyer) + int(withoutAnswer) > 1 || stare != expected)
            return which + QStringLiteral("STARE %1, expected %2").arg(stare).arg(expected);
    }
    for (auto it = answersOf.cbegin(); it != answersOf.cend(); ++it)
        if (!requestIds.contains(it.key()))
            return QStringLiteral("answers of a missing request");
    for (auto it = actsOf.cbegin(); it != actsOf.cend(); ++it)
        if (!requestIds.contains(it.key()))
            return QStringLiteral("acts of a missing request");
    return {};
}

// What is wrong with the register numbers of the data folder, or empty text:
// one running sequence over requests, answers and acts, each number given
// once, and the "NR" counter ahead of all of them.
QString firstNumberingProblem()
{
    QMap<qlonglong, QStringList> holders;
    sqlstore::Query n = database().query("SELECT ID, NR FROM " + QuotedTablePath("Cereri.dbf"));
    for (bool more = n.first(); more; more = n.next())
        holders[n.value(1).toLongLong()] << QStringLiteral("request %1").arg(n.value(0).toLongLong());
    sqlstore::Query c = database().query("SELECT ID, IDC, NR FROM " + QuotedTablePath("Comunicari.dbf"));
    for (bool more = c.first(); more; more = c.next())
        holders[c.value(2).toLongLong()]
            << QStringLiteral("answer %1 of request %2").arg(c.value(1).toLongLong()).arg(c.value(0).toLongLong());
    sqlstore::Query a = database().query("SELECT ID, BLOCAT, NR FROM " + QuotedTablePath("AlteActe.dbf"));
    for (bool more = a.first(); more; more = a.next())
        holders[a.value(2).toLongLong()]
            << QStringLiteral("act %1 of request %2").arg(a.value(1).toString().trimmed()).arg(a.value(0).toLongLong());
    for (auto it = holders.cbegin(); it != holders.cend(); ++it)
        if (it.value().size() > 1)
            return QStringLiteral("NR %1 given to ").arg(it.key()) + it.value().join(", ");
    // The counter is ahead of every number given, so the next one is new.
    if (!holders.isEmpty() && PeekNextNumber("NR").toLongLong() <= holders.lastKey())
        return QStringLiteral("the NR counter is at %1 while NR %2 is given to ")
                   .arg(PeekNextNumber("NR"))
                   .arg(holders.lastKey())
               + holders.last().join(", ");
    return {};
}

class RegisterProcessTest : public RegisterTest {
protected:
    QString workstation(int n) const { return folder.file(QStringLiteral("ws%1").arg(n)); }
};

} // namespace

TEST_F(RegisterProcessTest, AWorkstationKilledAtAnyPointLeavesEveryRequestWholeOrAbsent)
{
    int killedWhileWorking = 0;
    for (int run = 0; run < 100; ++run) {
        SCOPED_TRACE(run);
        QProcess p;
        p.start(worker(), {"cycle", workstation(1), session().dataFolder, "1000"});
        ASSERT_TRUE(p.waitForStarted());
        ASSERT_TRUE(p.waitForReadyRead(60000));
        // Let it get somewhere: a few finished operations, then a random
        // moment inside the next one.
        const int rounds = QRandomGenerator::global()->bounded(3);
        QByteArray seen = p.readAll();
        while (seen.count("done") < rounds && p.state() == QProcess::Running && p.waitForReadyRead(60000))
            seen += p.readAll();
        QThread::usleep(QRandomGenerator::global()->bounded(30000));
        if (p.state() == QProcess::Running)
            ++killedWhileWorking;
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished(60000);
        // The next start: the interrupted operation is undone on first use.
        const QString problem = firstProblem();
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    }
    EXPECT_GT(killedWhileWorking, 50);
    EXPECT_GT(countOf("Cereri.dbf"), 0);
}

TEST_F(RegisterProcessTest, TwoWorkstationsAddingAtOnceNeverShareANumber)
{
    QProcess a, b;
    a.start(worker(), {"add", workstation(1), session().dataFolder, "200"});
    b.start(worker(), {"add", workstation(2), session().dataFolder, "200"});
    for (QProcess *p : {&a, &b}) {
        ASSERT_TRUE(p->waitForFinished(600000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    EXPECT_EQ(countOf("Cereri.dbf"), 400);
    for (const char *column : {"NR", "NR2", "ID"})
        EXPECT_EQ(database().scalar(QStringLiteral("SELECT COUNT(DISTINCT %1) FROM ").arg(column)
                                    + QuotedTablePath("Cereri.dbf")).toLongLong(),
                  400)
            << column;
    const qlonglong acts = countOf("AlteActe.dbf");
    EXPECT_EQ(database().scalar("SELECT COUNT(DISTINCT IDA) FROM " + QuotedTablePath("AlteActe.dbf")).toLongLong(), acts);
    // Requests and acts share one running sequence.
    EXPECT_EQ(database().scalar("SELECT COUNT(*) FROM (SELECT NR FROM " + QuotedTablePath("Cereri.dbf")
                                + " UNION SELECT NR FROM " + QuotedTablePath("AlteActe.dbf") + ")").toLongLong(),
              400 + acts);
    const QString problem = firstProblem();
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
}

TEST_F(RegisterProcessTest, AWorkstationKilledAmidAnswersAndClosingsLeavesEachOperationWholeOrAbsent)
{
    // Operations of one round of the worker's answers mode.
    const int roundLength = 22;
    const int runs = 200;
    int killedInside = 0;
    QMap<QByteArray, int> interrupted;
    for (int run = 0; run < runs; ++run) {
        SCOPED_TRACE(run);
        QProcess p;
        p.start(worker(), {"answers", workstation(1), session().dataFolder, "100"});
        ASSERT_TRUE(p.waitForStarted());
        ASSERT_TRUE(p.waitForReadyRead(60000));
        // A few finished operations, then a random moment inside the next one.
        const int operations = QRandomGenerator::global()->bounded(roundLength);
        QByteArray seen = p.readAll();
        while (seen.count("done") < operations && p.state() == QProcess::Running && p.waitForReadyRead(60000))
            seen += p.readAll();
        QThread::usleep(QRandomGenerator::global()->bounded(15000));
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished(60000);
        seen += p.readAll();
        ASSERT_EQ(p.exitStatus(), QProcess::CrashExit) << p.readAllStandardError().toStdString();
        // The operation begun and not reported done is the one killed.
        const QList<QByteArray> lines = seen.trimmed().split('\n');
        if (lines.last().startsWith("begin ")) {
            ++killedInside;
            ++interrupted[lines.last().split(' ').mid(2).join(' ')];
        }
        SCOPED_TRACE(lines.last().toStdString());
        const QString problem = firstFileProblem();
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
        // The counter stays past every number in use, so none is given twice.
        const QString numbering = firstNumberingProblem();
        ASSERT_TRUE(numbering.isEmpty()) << numbering.toStdString();
    }
    QStringList counts;
    for (auto it = interrupted.cbegin(); it != interrupted.cend(); ++it)
        counts << QString::fromLatin1(it.key()) + "=" + QString::number(it.value());
    RecordProperty("killed_inside", killedInside);
    RecordProperty("interrupted", counts.join(", ").toStdString());
    EXPECT_GT(killedInside, runs / 2);
    // Most kinds of operation were caught in the middle at least once.
    EXPECT_GE(interrupted.size(), 8) << counts.join(", ").toStdString();
    EXPECT_GT(countOf("Comunicari.dbf"), 0);
}
