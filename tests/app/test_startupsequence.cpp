// The start-up of an interactive run, in this process: a program folder and
// a system folder of the test's own (ARVENA3_HOME, ARVENA3_SYSDIR), a
// scripted prompter answering for the clerk, and either a view that records
// what the start-up shows (its decisions, headless) or the real windows on
// the offscreen screen (their wiring). Screenshots go to
// build/test-output/startup.
#include "admin/administration.h"
#include "admin/tform4.h"
#include "admin/password.h"
#include "platform/folders.h"
#include "platform/programfiles.h"
#include "scriptedprompter.h"
#include "platform/session.h"
#include "app/mainwindow.h"
#include "app/startupsequence.h"
#include "app/startupview.h"
#include "app/startupwindows.h"
#include "app/startwindowprompter.h"
#include "ui/tform1.h"
#include "platform/version.h"
#include "datastore/profilefile.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "heldbyprocess.h"
#include "locktimeout.h"
#include "startupfixture.h"
#include "templates/catalogue.h"
#include "templates/documentmenus.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

const QStringList SixTables{"Log.dbf", "Cereri.dbf", "Comunicari.dbf", "Preemptori.dbf", "AlteActe.dbf",
                            "Vanzatori.dbf"};

void saveScreenshot(QWidget *window, const QString &name)
{
    const QString path = testsupport::outputFolder("startup") + "/" + name + ".png";
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
}

// Rows the header of a table file counts, deleted ones included.
quint32 storedRows(const QString &tablePath)
{
    QFile f(tablePath);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = f.read(8);
    return header.size() == 8 ? qFromLittleEndian<quint32>(header.constData() + 4) : 0;
}

QStringList logActions()
{
    sqlstore::Query q = sqlstore::database().query("SELECT ACTIUNE FROM " + QuotedTablePath("Log.dbf") + " ORDER BY IDLOG");
    QStringList actions;
    for (q.first(); !q.eof(); q.next())
        actions << q.value(0).toString();
    return actions;
}

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *a : menu->actions())
        texts << a->text();
    return texts;
}

// Another process reading a file (a workstation reading a table, a download
// still writing): a shared lock on the whole file, held until its standard
// input closes.
class FileReader : public HeldByProcess {
public:
    explicit FileReader(const QString &file)
        : HeldByProcess("python3", {"-c",
                                    "import fcntl, sys\n"
                                    "f = open(sys.argv[1], 'rb')\n"
                                    "fcntl.lockf(f, fcntl.LOCK_SH)\n"
                                    "print('held', flush=True)\n"
                                    "sys.stdin.read()\n",
                                    file})
    {
    }
};

// A view that records, in order, what the start-up shows.
class RecordingView : public StartupView {
public:
    void setStatus(const QString &text) override { calls << "status " + text; }
    void showAdministrationValues() override { calls << "administration values"; }
    void setServerFolder(const QString &folder) override { calls << "server " + folder; }
    void setWorkingMode(const QString &text) override { calls << "mode " + text; }
    void setMainCaption(const QString &caption) override { calls << "caption " + caption; }
    void showMainWindow() override { calls << "main window"; }
    void letMessagesRun() override {}

    QStringList calls;
};

class Startup : public ::testing::Test {
protected:
    Startup()
    {
        qputenv("ARVENA3_HOME", home.path().toLocal8Bit());
        qputenv("ARVENA3_SYSDIR", home.file("sys").toLocal8Bit());
        QDir().mkpath(home.file("sys"));
        administrationValues() = AdministrationValues();
    }
    ~Startup() override
    {
        restore("ARVENA3_HOME", savedHome_);
        restore("ARVENA3_SYSDIR", savedSystem_);
    }

    // Runs the whole start-up; `inMainWindow` acts in the main window while
    // it is open, which Esc then closes.
    StartupEnd run(const std::function<void()> &inMainWindow = {})
    {
        shown = false;
        auto running = std::make_shared<bool>(true);
        actWhenShown(running, inMainWindow);
        const StartupEnd end = sequence.Run();
        *running = false;
        return end;
    }

    // The start-up lets messages run on its way; the action waits for the
    // main window.
    void actWhenShown(std::shared_ptr<bool> running, const std::function<void()> &action)
    {
        QTimer::singleShot(10, [this, running, action] {
            if (!*running)
                return;
            if (!main.isVisible()) {
                actWhenShown(running, action);
                return;
            }
            shown = true;
            if (action)
                action();
            QTest::keyClick(&main, Qt::Key_Escape);
        });
    }

    void writeMachineSetting(const QString &key, const QString &value)
    {
        ProfileFile(home.file("sys/GMT.dII")).setValue("99", key, value);
    }

    testsupport::TempFolder home;
    ScriptedPrompter prompter;
    ScriptedPasswordAsker asker;
    TForm1 start;
    TForm4 administration{nullptr, &prompter};
    TForm3 main{prompter, asker, administration};
    StartupWindows windows{start, main, administration};
    StartWindowPrompter startPrompter{prompter, start};
    StartupSequence sequence{startPrompter, windows};
    // The same start-up, headless.
    RecordingView view;
    StartupSequence headless{prompter, view};
    bool shown = false;

private:
    // The value of a variable before the test, or nothing when it was unset.
    static std::optional<QByteArray> saved(const char *name)
    {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    static void restore(const char *name, const std::optional<QByteArray> &value)
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }

    std::optional<QByteArray> savedHome_ = saved("ARVENA3_HOME");
    std::optional<QByteArray> savedSystem_ = saved("ARVENA3_SYSDIR");
};

} // namespace

TEST_F(Startup, AFirstStartOnAnEmptyProgramFolderPreparesEverythingAndShowsTheLockedMainWindow)
{
    bool locked = false;
    ASSERT_EQ(run([&] {
                  locked = main.MButAdm->isVisible() && main.ModelF->isVisible() && !main.MBut2->isVisible()
                           && !main.MBut3->isVisible();
              }),
              StartupEnd::Completed);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(locked);
    EXPECT_TRUE(prompter.questions.isEmpty());

    const QString data = home.file("Data");
    EXPECT_EQ(session().dataFolder, data);
    for (const QString &table : SixTables)
        EXPECT_TRUE(QFile::exists(data + "/" + table)) << table.toStdString();
    EXPECT_EQ(ProfileFile(data + "/Arv2.set").value("99", "VER"), "1.0034");
    for (const CatalogueEntry &entry : TemplateCatalogue())
        EXPECT_TRUE(QFile::exists(data + "/" + entry.file)) << entry.file.toStdString();
    EXPECT_EQ(ProfileFile(home.file("sys/GMT.dII")).value("99", "CALE"), home.path());
    EXPECT_EQ(ProfileFile(home.file("sys/GMT.dII")).value("99", "VER"), "1.0034");
    EXPECT_TRUE(ProfileFile(home.file("sys/GMT.dII")).keys("TESTUS").isEmpty());

    EXPECT_EQ(logActions(), QStringList({"Pornire program", "Inchidere Program."}));
    EXPECT_EQ(main.windowTitle(), "Arv3  ver.1.0034");
    EXPECT_EQ(main.workingMode(), "Lucru local.");
    EXPECT_FALSE(QFileInfo::exists(home.file("Temp")));
    EXPECT_EQ(start.progressBar()->maximum(), 6);
    EXPECT_EQ(start.progressBar()->value(), 5);
}

TEST_F(Startup, AFirstStartShowsItsProgressAndHandsOverToTheMainWindow)
{
    ASSERT_EQ(headless.Run(), StartupEnd::Completed);
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_EQ(view.calls, QStringList({"administration values", "status Verific baza de date ...", "mode Lucru local.",
                                       "caption Arv3  ver.1.0034", "main window"}));
    const QStringList packing(PackedTables().size(), "step");
    EXPECT_EQ(prompter.progress, QStringList({"begin  100", "begin  100", "begin  6"}) + packing + QStringList{"end"});
    EXPECT_EQ(prompter.progressMaximum, 6);
    EXPECT_EQ(prompter.progressPosition, 5);
    // The work folder goes with the end of the start-up.
    EXPECT_FALSE(QFileInfo::exists(home.file("Temp")));
}

TEST_F(Startup, AServerFolderInUseIsShownInTheStatusBarAndTheAdministrationDialog)
{
    testsupport::TempFolder server;
    for (const QString &table : PackedTables())
        sqlstore::database().exec(CreateTableStatement(table, server.file(table)));
    writeMachineSetting("SERVER", server.path());
    ASSERT_EQ(headless.Run(), StartupEnd::Completed);
    EXPECT_TRUE(view.calls.contains("server " + server.path())) << view.calls.join("; ").toStdString();
    EXPECT_TRUE(view.calls.contains("mode Lucru in retea: " + server.path())) << view.calls.join("; ").toStdString();
    EXPECT_EQ(view.calls.last(), "main window");
}

TEST_F(Startup, AnErrorOfTheStartNeverReachesTheMainWindow)
{
    QFile notAFolder(home.file("Data"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    ASSERT_EQ(headless.Run(), StartupEnd::Failed);
    EXPECT_FALSE(view.calls.contains("main window")) << view.calls.join("; ").toStdString();
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions.at(0).title, "Arvena3");
    EXPECT_FALSE(QFileInfo::exists(home.file("Temp")));
}

TEST_F(Startup, TheHelpFilesAreRemovedWhenTheMainWindowCloses)
{
    QStringList names = HelpFileNames();
    ASSERT_EQ(names.size(), 8);
    names << "Pop8.pdf";
    for (const QString &name : names) {
        QFile f(home.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(run(), StartupEnd::Completed);
    for (const QString &name : HelpFileNames())
        EXPECT_FALSE(QFile::exists(home.file(name))) << name.toStdString();
    EXPECT_TRUE(QFile::exists(home.file("Pop8.pdf")));
}

TEST_F(Startup, AServerFolderIsUsedOnlyWhenItHoldsAllFiveMainTables)
{
    struct Case {
        int tables;
        bool used;
    };
    for (const Case c : {Case{4, false}, Case{5, true}}) {
        SCOPED_TRACE(c.tables);
        testsupport::TempFolder server;
        for (const QString &table : PackedTables().mid(0, c.tables))
            sqlstore::database().exec(CreateTableStatement(table, server.file(table)));
        writeMachineSetting("SERVER", server.path());
        prompter.questions.clear();

        ASSERT_EQ(run(), StartupEnd::Completed);
        if (c.used) {
            EXPECT_TRUE(prompter.questions.isEmpty());
            EXPECT_EQ(session().dataFolder, server.path());
            EXPECT_EQ(main.workingMode(), "Lucru in retea: " + server.path());
            EXPECT_EQ(administration.ServerE->text(), server.path());
            EXPECT_EQ(ProfileFile(server.file("Arv2.set")).value("99", "VER"), "");
            EXPECT_TRUE(QFile::exists(server.file("Vanzatori.dbf")));
        } else {
            ASSERT_EQ(prompter.questions.size(), 1);
            const ScriptedPrompter::Question &q = prompter.questions.at(0);
            EXPECT_EQ(q.title, "Conectare server");
            EXPECT_EQ(q.text, "Baza de date " + server.path()
                                  + "\rNU este accesibila sau este incompleta!"
                                    "\rVerificati conexiunea si baza si reporniti programul!");
            EXPECT_EQ(q.buttons, ButtonOk);
            EXPECT_EQ(q.kind, KindError);
            EXPECT_EQ(session().dataFolder, home.file("Data"));
            EXPECT_EQ(main.workingMode(), "Lucru local.");
            EXPECT_FALSE(QFile::exists(server.file("Log.dbf")));
        }
    }
}

TEST_F(Startup, TheTablesArePackedOnceAWeekAndAFailedPackIsReportedWithoutStoppingTheStart)
{
    ASSERT_EQ(run(), StartupEnd::Completed);
    const QString data = home.file("Data");
    const QString week = QString::number(PackWeekNumber(QDate::currentDate()));
    EXPECT_EQ(ProfileFile(data + "/Arv2.set").value("CONST", "LASTPACK"), week);

    // Deleted rows stay in the files until a pack.
    auto &db = sqlstore::database();
    for (int id = 1; id <= 3; ++id)
        db.exec("INSERT INTO " + QuotedTablePath("Cereri.dbf") + " (ID) VALUES (?)", {id});
    db.exec("DELETE FROM " + QuotedTablePath("Cereri.dbf") + " WHERE ID<3");
    db.exec("DELETE FROM " + QuotedTablePath("Log.dbf"));
    ASSERT_EQ(storedRows(data + "/Log.dbf"), 2u); // the first run's rows, deleted but still in the file
    ASSERT_EQ(storedRows(data + "/Cereri.dbf"), 3u);

    // The second start of the week packs nothing.
    ASSERT_EQ(run(), StartupEnd::Completed);
    EXPECT_EQ(storedRows(data + "/Cereri.dbf"), 3u);
    EXPECT_TRUE(prompter.questions.isEmpty());

    // A new week while another workstation reads Preemptori: the other
    // tables are packed, Preemptori is reported, the start goes on.
    ProfileFile(data + "/Arv2.set").setValue("CONST", "LASTPACK", QString::number(week.toInt() - 1));
    FileReader reader(data + "/Preemptori.dbf");
    ASSERT_TRUE(reader.held());
    StartupEnd end = StartupEnd::Failed;
    {
        testsupport::LockTimeoutScope wait(300);
        end = run();
    }
    ASSERT_EQ(end, StartupEnd::Completed);
    EXPECT_TRUE(shown);
    EXPECT_EQ(storedRows(data + "/Cereri.dbf"), 1u);
    // Packed after the table that failed: the second run's two rows, then
    // this run's two.
    EXPECT_EQ(storedRows(data + "/Log.dbf"), 4u);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions.at(0).kind, KindError);
    EXPECT_TRUE(prompter.questions.at(0).text.contains("Preemptori")) << prompter.questions.at(0).text.toStdString();
    EXPECT_EQ(ProfileFile(data + "/Arv2.set").value("CONST", "LASTPACK"), week);
    EXPECT_EQ(start.progressBar()->value(), 5);
}

TEST_F(Startup, ThePasswordUnlocksTheWorkingButtonsAndTheirMenus)
{
    ASSERT_EQ(run(), StartupEnd::Completed); // the data folder with its settings
    WriteStoredPassword(EncodedPassword("abc"));
    asker.entries = QStringList{"abd", "abc"};
    prompter.questions.clear();

    QStringList menu1, menu2;
    bool lockedAfterWrongPassword = false;
    bool unlocked = false;
    bool menuDropsWithF2 = false;
    bool administrationOpened = false;
    ASSERT_EQ(run([&] {
                  main.resize(1366, main.height());
                  saveScreenshot(&main, "main-locked");
                  main.MButAdm->click();
                  lockedAfterWrongPassword = !main.MBut2->isVisible() && !session().administrationUnlocked;
                  main.MButAdm->click();
                  unlocked = main.MBut2->isVisible() && main.MBut3->isVisible() && session().administrationUnlocked;
                  saveScreenshot(&main, "main-unlocked");
                  menu1 = actionTexts(main.Menu1);
                  menu2 = actionTexts(main.Menu2);
                  QTest::keyClick(&main, Qt::Key_F2);
                  menuDropsWithF2 = main.Menu1->isVisible();
                  main.Menu1->close();
                  // Once unlocked, "Administrare" opens the settings.
                  QTimer::singleShot(0, [&] {
                      QWidget *modal = QApplication::activeModalWidget();
                      administrationOpened = modal == &administration;
                      if (modal)
                          QTest::keyClick(modal, Qt::Key_Escape);
                  });
                  main.MButAdm->click();
              }),
              StartupEnd::Completed);
    EXPECT_TRUE(lockedAfterWrongPassword);
    EXPECT_TRUE(unlocked);
    // Then, unlocked on local data, the closing backup is offered (and declined).
    ASSERT_EQ(prompter.questions.size(), 2);
    EXPECT_EQ(prompter.questions.at(0).text, "PAROLA INCORECTA !");
    EXPECT_EQ(prompter.questions.at(1).title, "Salvare Automata");

    QStringList blankForms;
    for (const DocumentMenuItem &item : BlankFormsMenu())
        blankForms << item.caption;
    EXPECT_EQ(menu1, QStringList({"Registrul de evidenta"}) + blankForms);
    EXPECT_EQ(menu2, QStringList({"Salvare / Incarcare baza de date", "Modele de listare", "Legislatie"}));
    EXPECT_TRUE(menuDropsWithF2);
    EXPECT_TRUE(administrationOpened);
}

TEST_F(Startup, F2DropsNoMenuWhileLocked)
{
    bool dropped = true;
    ASSERT_EQ(run([&] {
                  QTest::keyClick(&main, Qt::Key_F2);
                  dropped = main.Menu1->isVisible();
              }),
              StartupEnd::Completed);
    EXPECT_FALSE(dropped);
}

TEST_F(Startup, AnInstallerThatCannotBeStartedIsReportedAndTheStartGoesOn)
{
    // An empty file: the system refuses to run it.
    QFile installer(home.file(platform::kInstallerFileName));
    ASSERT_TRUE(installer.open(QIODevice::WriteOnly));
    installer.close();

    ASSERT_EQ(run(), StartupEnd::Completed);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions.at(0).title, "Instalare versiune noua");
    EXPECT_EQ(ProfileFile(home.file("Data/Arv2.set")).value("CONST", "Lansat"), "DA");

    // The next start deletes it.
    ASSERT_EQ(run(), StartupEnd::Completed);
    EXPECT_FALSE(QFile::exists(home.file(platform::kInstallerFileName)));
}

TEST_F(Startup, AnInstallerStillHeldByAnotherProcessIsLeftForALaterStart)
{
    const QString installer = home.file(platform::kInstallerFileName);
    QFile file(installer);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    FileReader download(installer);
    ASSERT_TRUE(download.held());

    ASSERT_EQ(run(), StartupEnd::Completed);
    EXPECT_TRUE(QFile::exists(installer));
    EXPECT_EQ(ProfileFile(home.file("Data/Arv2.set")).value("CONST", "Lansat"), "");
    EXPECT_TRUE(prompter.questions.isEmpty());
}

TEST_F(Startup, AnUnwritableSystemFolderGivesWayToTheUsersConfigurationFolder)
{
    // A file where the folder should be: nothing can be written inside.
    QFile notAFolder(home.file("sys-file"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    qputenv("ARVENA3_SYSDIR", home.file("sys-file").toLocal8Bit());

    ASSERT_EQ(run(), StartupEnd::Completed);
    EXPECT_EQ(session().systemFolder, platform::userConfigFolder());
    EXPECT_EQ(ProfileFile(platform::userConfigFolder() + "/GMT.dII").value("99", "CALE"), home.path());
    EXPECT_TRUE(prompter.questions.isEmpty());
}

TEST_F(Startup, AnErrorBeforeTheMainWindowIsShownWithItsOwnTextAndEndsTheStart)
{
    // A file where the data folder should be: the settings cannot be written.
    QFile notAFolder(home.file("Data"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();

    ASSERT_EQ(run(), StartupEnd::Failed);
    EXPECT_FALSE(shown);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions.at(0).kind, KindError);
    EXPECT_TRUE(prompter.questions.at(0).text.contains("Arv2.set")) << prompter.questions.at(0).text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home.file("Temp")));
}

TEST(StartWindowShot, TheStartWindowWhileTheTablesAreChecked)
{
    TForm1 start;
    start.setStatus("Verific baza de date ...");
    start.progressBar()->setMaximum(6);
    start.progressBar()->setValue(2);
    start.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&start));
    saveScreenshot(&start, "start");
    start.startTimer()->stop();
    start.hide();
}
