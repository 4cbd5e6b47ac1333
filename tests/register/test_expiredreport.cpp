// The expired-terms report: which requests it lists and in what order, and the
// unattended run "-t" of the real program under a fixed date.
#include "datastore/calendar.h"
#include "datastore/profilefile.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "register/expiredreport.h"
#include "startupfixture.h"
#include "tablefixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

const DeadlineTerms kTerms{47, 30};

// The day a request must carry for its stage I to end on `end`.
QDate requestDateEndingStageOneOn(const QDate &end)
{
    for (QDate d = end.addDays(-120); d < end; d = d.addDays(1))
        if (WorkingDayDeadlines(ToDaySerial(d), kTerms).dataScad1 == ToDaySerial(end))
            return d;
    return {};
}

class ExpiredReportTest : public ::testing::Test {
protected:
    void SetUp() override { CreateTables(); }

    ProgramFolderFixture program;
};

// Requests of every kind the report must tell apart, on 15.04.2026 (the week
// of the Orthodox Easter: 10 and 13 April are days off).
void addMixedRequests()
{
    using tablefixture::addRequest;
    const QDate endsToday = requestDateEndingStageOneOn(QDate(2026, 4, 15));
    const QDate endedYesterday = requestDateEndingStageOneOn(QDate(2026, 4, 14));
    ASSERT_TRUE(endsToday.isValid() && endedYesterday.isValid());
    // Inserted out of date order: the report sorts by date, then number.
    addRequest(1, 30, 3, endedYesterday, 0, "N", "VLAD ANA");
    addRequest(2, 31, 4, endsToday, 1, "N", "NU APARE AZI");
    addRequest(3, 12, 2, QDate(2025, 1, 3), 1, "D", "POP MARIA");     // stage II ended 14.04.2025
    addRequest(4, 11, 1, QDate(2025, 1, 3), 0, "N", "ION VASILE");    // stage I ended 14.03.2025
    addRequest(5, 5, 9, QDate(2020, 10, 1), 0, "N", QString::fromUtf8("ŞTEFĂNESCU ŢICU"));
    addRequest(6, 6, 8, QDate(2020, 10, 1), 2, "N", "INCHIS CU COMUNICARE");
    addRequest(7, 7, 7, QDate(2020, 10, 1), 3, "D", "INCHIS FARA");
    addRequest(8, 8, 6, QDate(2020, 10, 1), 4, "N", "RETRASA");
    addRequest(9, 9, 5, QDate(2020, 10, 1), 5, "D", "CUMPARATOR ALES");
    addRequest(10, 40, 10, QDate(2026, 4, 1), 0, "N", "IN TERMEN");
    addRequest(11, 41, 11, QDate(2026, 2, 2), 0, "D", "ETAPA DOI IN TERMEN");
}

TEST_F(ExpiredReportTest, ListsOnlyOpenRequestsPastTheirTermInDateOrder)
{
    addMixedRequests();
    const QDate yesterdayEnd = requestDateEndingStageOneOn(QDate(2026, 4, 14));
    const QString last = QStringLiteral("Nr.%1 din %2 - VLAD ANA");
    const QStringList individual = ExpiredRequestLines(kTerms, false, QDate(2026, 4, 15));
    EXPECT_EQ(individual, (QStringList{QString::fromUtf8("Nr.5 din 01.10.2020 - ŞTEFĂNESCU ŢICU"),
                                       "Nr.11 din 03.01.2025 - ION VASILE", "Nr.12 din 03.01.2025 - POP MARIA",
                                       last.arg(30).arg(yesterdayEnd.toString("dd.MM.yyyy"))}));
    // Per request the number shown and the order within a day follow NR2.
    const QStringList perRequest = ExpiredRequestLines(kTerms, true, QDate(2026, 4, 15));
    EXPECT_EQ(perRequest, (QStringList{QString::fromUtf8("Nr.9 din 01.10.2020 - ŞTEFĂNESCU ŢICU"),
                                       "Nr.1 din 03.01.2025 - ION VASILE", "Nr.2 din 03.01.2025 - POP MARIA",
                                       last.arg(3).arg(yesterdayEnd.toString("dd.MM.yyyy"))}));
    // The day a stage ends is still within its term.
    EXPECT_EQ(ExpiredRequestLines(kTerms, false, QDate(2025, 3, 14)),
              QStringList{QString::fromUtf8("Nr.5 din 01.10.2020 - ŞTEFĂNESCU ŢICU")});
}

TEST_F(ExpiredReportTest, AReportWithoutExpiredRequestsSaysSo)
{
    QString error;
    const QString path = WriteExpiredTermsReport({}, QDate(2026, 4, 15), &error);
    ASSERT_FALSE(path.isEmpty()) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    EXPECT_TRUE(rtf.contains("15.04.2026"));
    EXPECT_TRUE(rtf.contains(kNoExpiredRequests));
    EXPECT_FALSE(rtf.contains("[Dosar]"));
    // Only the report is left: the copy of its template is removed.
    EXPECT_EQ(QDir(program.path()).entryList({"RapExpirate*"}), QStringList());
}

// The real program with "-t", its date fixed by faketime.
struct UnattendedRun {
    int exitCode = -1;
    QByteArray out, err;
};

UnattendedRun runUnattended(const QString &programFolder, const QString &systemFolder,
                            const QString &configFolder = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!configFolder.isEmpty())
        env.insert("XDG_CONFIG_HOME", configFolder);
    env.insert("ARVENA3_HOME", programFolder);
    env.insert("ARVENA3_SYSDIR", systemFolder);
    env.insert("ARVENA3_OPEN", "true");
    env.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start("faketime", {"2026-04-15 09:00:00", testsupport::binary("arvena3"), "-t"});
    UnattendedRun run;
    if (!p.waitForFinished(60000))
        return run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

QStringList reportsIn(const QString &folder)
{
    return QDir(folder).entryList({"Raport*.rtf"});
}

TEST_F(ExpiredReportTest, TheUnattendedRunWritesTheReportAndPrintsItsPath)
{
    if (!testsupport::haveTool("faketime"))
        GTEST_SKIP() << "faketime is not installed";
    addMixedRequests();
    const UnattendedRun run = runUnattended(program.path(), session().systemFolder);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString path = QString::fromLocal8Bit(run.out).trimmed();
    ASSERT_EQ(QFileInfo(path).dir().absolutePath(), QDir(program.path()).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    EXPECT_TRUE(rtf.contains("15.04.2026"));
    const qsizetype first = rtf.indexOf("Nr.5 din 01.10.2020 - \\'aaTEF\\'c3NESCU \\'deICU");
    const qsizetype second = rtf.indexOf("Nr.11 din 03.01.2025 - ION VASILE");
    const qsizetype third = rtf.indexOf("Nr.12 din 03.01.2025 - POP MARIA");
    const qsizetype fourth = rtf.indexOf("Nr.30 din ");
    EXPECT_TRUE(first >= 0 && first < second && second < third && third < fourth) << rtf.toStdString();
    for (const char *absent : {"NU APARE AZI", "INCHIS", "RETRASA", "CUMPARATOR ALES", "IN TERMEN", "[Dosar]"})
        EXPECT_FALSE(rtf.contains(absent)) << absent;
}

TEST_F(ExpiredReportTest, TheUnattendedRunOfAScheduledJobSaysNothingOnStandardErrorWhenItSucceeds)
{
    addMixedRequests();
    // What cron gives a job: no display, no session runtime folder, no
    // desktop opener.
    QProcessEnvironment env;
    env.insert("PATH", "/usr/bin:/bin");
    env.insert("HOME", program.path());
    env.insert("LOGNAME", "root");
    env.insert("SHELL", "/bin/sh");
    env.insert("ARVENA3_HOME", program.path());
    env.insert("ARVENA3_SYSDIR", session().systemFolder);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(testsupport::binary("arvena3"), {"-t"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QByteArray err = p.readAllStandardError();
    const QString path = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(err, QByteArray());
    EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    EXPECT_EQ(QFileInfo(path).dir().absolutePath(), QDir(program.path()).absolutePath());
}

TEST_F(ExpiredReportTest, TheUnattendedRunFailsVisiblyWithoutItsData)
{
    if (!testsupport::haveTool("faketime"))
        GTEST_SKIP() << "faketime is not installed";
    // A shared folder missing one of the five main tables.
    const QString server = program.file("server");
    QDir().mkpath(server);
    for (const char *name : {"Cereri.dbf", "Comunicari.dbf", "Preemptori.dbf", "AlteActe.dbf"})
        QFile::copy(QDir(session().dataFolder).filePath(name), QDir(server).filePath(name));
    WriteMachineSetting("SERVER", server);
    UnattendedRun run = runUnattended(program.path(), session().systemFolder);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("NU este accesibila sau este incompleta")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(reportsIn(program.path()), QStringList());

    // A program folder without its data folder.
    testsupport::TempFolder empty;
    run = runUnattended(empty.path(), session().systemFolder);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("nu exista")) << run.err.toStdString();
    EXPECT_EQ(reportsIn(empty.path()), QStringList());
}

TEST_F(ExpiredReportTest, TheUnattendedRunReadsTheMachineSettingsOfTheFallbackFolder)
{
    if (!testsupport::haveTool("faketime"))
        GTEST_SKIP() << "faketime is not installed";
    // The shared system folder cannot be written (a file stands in its
    // place), so the interactive start keeps the machine settings in the
    // user's configuration folder; there they name an incomplete server.
    const QString blocked = program.file("blocked");
    QFile(blocked).open(QIODevice::WriteOnly);
    const QString config = program.file("config");
    QDir().mkpath(config + "/arvena3");
    const QString server = program.file("server");
    QDir().mkpath(server);
    ProfileFile(config + "/arvena3/GMT.dII").setValue("99", "SERVER", server);
    const UnattendedRun run = runUnattended(program.path(), blocked, config);
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("NU este accesibila sau este incompleta")) << run.err.toStdString();
}

} // namespace
