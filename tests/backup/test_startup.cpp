// Archives at the start of the program: an ".av3" given on the command line
// is worked on inside a copy and saved back into, a damaged one is reported
// and left alone, the file type is registered, and a restore a killed program
// left half done is finished before anything touches the data.
#include "admin/tform4.h"
#include "app/mainwindow.h"
#include "app/startupsequence.h"
#include "app/startupview.h"
#include "backup/archive.h"
#include "backup/backupactions.h"
#include "backup/pack.h"
#include "backup/restore.h"

#include "archivebytes.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "platform/session.h"
#include "scriptedprompter.h"
#include "startupfixture.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace archivebytes;
using testsupport::TempFolder;

namespace {

class RecordingView : public StartupView {
public:
    void setStatus(const QString &) override {}
    void showAdministrationValues() override {}
    void setServerFolder(const QString &) override {}
    void setWorkingMode(const QString &text) override { mode = text; }
    void setMainCaption(const QString &) override {}
    void showMainWindow() override
    {
        if (inMainWindow)
            inMainWindow();
    }
    void letMessagesRun() override {}

    QString mode;
    std::function<void()> inMainWindow;
};

int requestsIn(const QString &folder, int id)
{
    return sqlstore::database()
        .query("SELECT COUNT(*) FROM \"" + folder + "/Cereri.dbf\" WHERE ID=?", {id})
        .value(0)
        .toInt();
}

void addRequest(int id)
{
    sqlstore::database().exec("INSERT INTO " + QuotedTablePath("Cereri.dbf") + " (ID, NR) VALUES (?, ?)", {id, id});
}

} // namespace

class BackupStartup : public ::testing::Test {
protected:
    BackupStartup()
    {
        qputenv("ARVENA3_HOME", home.path().toLocal8Bit());
        qputenv("ARVENA3_SYSDIR", home.file("sys").toLocal8Bit());
        QDir().mkpath(home.file("sys"));
    }
    ~BackupStartup() override
    {
        qunsetenv("ARVENA3_HOME");
        qunsetenv("ARVENA3_SYSDIR");
    }

    StartupEnd start(const QString &argument)
    {
        StartupSequence sequence(prompter, view);
        sequence.setFirstArgument(argument);
        return sequence.Run();
    }

    // An archive of a database whose only request is `id`, made by a first start.
    QString makeArchive(const QString &name, int id)
    {
        view.inMainWindow = [&] {
            addRequest(id);
            ScriptedPrompter quiet;
            EXPECT_TRUE(backup::Pack(home.file(name), quiet).ok);
        };
        EXPECT_EQ(start(QString()), StartupEnd::Completed);
        for (const QString &f : QDir(home.file("Data")).entryList(QDir::Files))
            QFile::remove(home.file("Data/" + f));
        view.inMainWindow = {};
        prompter = ScriptedPrompter();
        return home.file(name);
    }

    testsupport::TempFolder home;
    ScriptedPrompter prompter;
    RecordingView view;
};

TEST_F(BackupStartup, AnArchiveGivenOnTheCommandLineIsWorkedOnAndSavedBackInto)
{
    const QString archive = makeArchive("lucru.AV3", 11);
    QString workedIn;
    view.inMainWindow = [&] {
        workedIn = session().dataFolder;
        EXPECT_EQ(requestsIn(workedIn, 11), 1);
        addRequest(12);
        // The clerk closes with "Da" to saving the changes.
        ScriptedPrompter closing;
        closing.answer(ResultYes);
        ASSERT_TRUE(backup::AskClosingBackup(closing, true));
        EXPECT_EQ(closing.questions.size(), 1);
        EXPECT_TRUE(backup::MakeClosingBackup(closing, {}, QDate::currentDate()).ok);
    };
    ASSERT_EQ(start(archive), StartupEnd::Completed);
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_EQ(view.mode, "Lucru in salvarea: LUCRU.AV3.");
    EXPECT_TRUE(workedIn.startsWith(home.file("Temp/SAV"))) << workedIn.toStdString();
    EXPECT_FALSE(QFileInfo::exists(workedIn));
    // The archive holds the day's request; the local data never saw it.
    TempFolder out;
    QString reason;
    ASSERT_TRUE(backup::UnpackArchive(archive, out.path(), {}, &reason)) << reason.toStdString();
    EXPECT_EQ(requestsIn(out.path(), 12), 1);
    EXPECT_FALSE(QFile::exists(home.file("Data/Cereri.dbf")));
}

TEST_F(BackupStartup, ADamagedArchiveIsReportedAndTheUsualDataAreUsed)
{
    const QString archive = makeArchive("rupt.av3", 21);
    QByteArray bytes = read(archive);
    bytes.chop(10);
    write(archive, bytes);
    QString workedIn;
    view.inMainWindow = [&] { workedIn = session().dataFolder; };
    ASSERT_EQ(start(archive), StartupEnd::Completed);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].text, "Restaurare esuata!");
    EXPECT_EQ(view.mode, "Lucru local.");
    EXPECT_EQ(QDir::cleanPath(workedIn), QDir::cleanPath(home.file("Data")));
    EXPECT_EQ(read(archive), bytes);
}

TEST_F(BackupStartup, TheFileTypeIsRegisteredWhenNoFileIsGiven)
{
    const QString entry = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/applications/arvena3.desktop";
    QFile::remove(entry);
    write(home.file("note.txt"), "text");
    ASSERT_EQ(start(home.file("note.txt")), StartupEnd::Completed);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_EQ(view.mode, "Lucru local.");
    ASSERT_EQ(start(QString()), StartupEnd::Completed);
    EXPECT_TRUE(QFile::exists(entry));
}

TEST_F(BackupStartup, TheStartPutsBackARestoreAKilledProgramLeftHalfDone)
{
    const QString archive = makeArchive("r.av3", 31);
    view.inMainWindow = [] { addRequest(32); };
    ASSERT_EQ(start(QString()), StartupEnd::Completed);
    ASSERT_EQ(requestsIn(home.file("Data"), 32), 1);
    // A restore killed after it moved the table out.
    QDir().mkpath(home.file("DataBAK"));
    ASSERT_TRUE(QFile::rename(home.file("Data/Cereri.dbf"), home.file("DataBAK/Cereri.dbf")));
    write(home.file(backup::kRestoreNoteName),
          "ARVENA3 RESTAURARE\nmut\n" + QDir::cleanPath(home.file("Data")).toUtf8() + "\nCereri.dbf\n");
    prompter = ScriptedPrompter();
    view.inMainWindow = {};
    ASSERT_EQ(start(QString()), StartupEnd::Completed);
    ASSERT_FALSE(prompter.questions.isEmpty());
    EXPECT_EQ(prompter.questions[0].title, "Restaurare date");
    EXPECT_TRUE(prompter.questions[0].text.contains("au fost puse la loc"));
    EXPECT_EQ(requestsIn(home.file("Data"), 32), 1);
    EXPECT_FALSE(QFile::exists(home.file(backup::kRestoreNoteName)));
    Q_UNUSED(archive);
}

TEST_F(BackupStartup, UtilitareOpensTheBackupDialog)
{
    resetSession(home.path());
    ScriptedPasswordAsker asker;
    TForm4 administration{nullptr, &prompter};
    TForm3 main{prompter, asker, administration};
    QAction *entry = nullptr;
    for (QAction *action : main.Menu2->actions())
        if (action->text() == "Salvare / Incarcare baza de date")
            entry = action;
    ASSERT_NE(entry, nullptr);
    QString opened;
    std::function<void()> closeWhenShown = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(10, closeWhenShown);
            return;
        }
        opened = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    };
    QTimer::singleShot(0, closeWhenShown);
    entry->trigger();
    EXPECT_EQ(opened, "Copie - inlocuieste baza de date");
    EXPECT_TRUE(prompter.questions.isEmpty());
}
