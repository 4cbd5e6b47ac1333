// The start-up of an interactive run, from the fixed formats to the main
// window and the removal of the work folder, run by the start window's
// timer:
//
//   StartupWindows windows(startWindow, mainWindow, administration);
//   StartWindowPrompter prompter(qtPrompter(), startWindow);
//   StartupSequence startup(prompter, windows);
//   startWindow.setStartupSteps([&] { startup.Run(); QCoreApplication::exit(0); });
//
// It asks and reports through the Prompter, which also carries its progress,
// and shows what it does through a StartupView, so that a test can run the
// whole sequence or one step headless against a program folder of its own
// (ARVENA3_HOME, ARVENA3_SYSDIR). Each step is a function of its own, in the
// order the start-up runs them.
#pragma once

#include <QString>

class Prompter;
class QDate;
class StartupView;

// How a run of the start-up ended; in every case the program ends next.
enum class StartupEnd {
    // The main window was shown and closed, and the work folder removed.
    Completed,
    // The installer of a newer version was started: the program ends at once.
    InstallerStarted,
    // An error stopped the start-up; the clerk has seen its text.
    Failed,
};

// The week of the weekly pack: whole weeks since day 0 of the date serial
// (30.12.1899, a Saturday), so a new week starts each Saturday at midnight.
int PackWeekNumber(const QDate &today);

class StartupSequence {
public:
    // The first command-line argument is taken from the application unless
    // setFirstArgument gives another.
    StartupSequence(Prompter &prompter, StartupView &view);
    void setFirstArgument(const QString &argument) { firstArgument_ = argument; }

    // Runs every step below in order. An error is shown with its own text and
    // ends the start-up; the work folder is removed at every end but the
    // hand-off to the installer, which ends the program at once.
    StartupEnd Run();

    // Fixed formats, workstation user, system, program, data and work folders,
    // the engine's private folder.
    void PrepareFolders();
    // Creates the local "Data" folder when missing.
    void CreateLocalDataFolder();
    // Keeps the system folder when "GMT.dII" can be written there, else moves
    // to the user's own configuration folder.
    void ChooseSystemFolder();
    // Finishes a restore of a backup that a killed program left half done,
    // before anything touches the data, and says whether the old or the
    // restored data are there.
    void FinishInterruptedRestore();
    // Records where and which version of the program started last (machine
    // settings CALE and VER) and the version on the database ([99] VER).
    void RecordVersion();
    // The hand-off to a downloaded installer: the first start that finds it
    // starts it (true: the program must end at once), the next one deletes
    // it, the one after that forgets it was started. An installer that cannot
    // be started is reported and the start-up goes on.
    bool HandOverToInstaller();
    // The first argument: an existing file is the opened backup, else the
    // backup file type is registered with the desktop (errors ignored); an
    // ".av3" file is then unpacked into a temporary copy that becomes the
    // program and data folder. A damaged archive is reported and the start
    // goes on with the usual data. Returns whether the program works inside
    // an archive.
    bool OpenBackupGivenAtStart();
    // A complete server folder (machine setting SERVER) becomes the data
    // folder; an incomplete one is reported and the local data are used.
    void ChooseServerFolder();
    // Loads the administration values and shows them in the administration
    // dialog.
    void LoadAdministrationValues();
    // Creates the missing tables, trims the log, upgrades older tables.
    void PrepareTables();
    // Once a week: records the week, then packs the five main tables. A
    // table that cannot be packed (another workstation holds it) is
    // reported, and the start-up goes on.
    void WeeklyPack();
    // The working mode in the main window's status bar, and the server
    // folder in the administration dialog when one is used.
    void ShowWorkingMode();
    // Writes the templates missing from the data folder; a failure is
    // reported and the start-up goes on.
    void WriteTemplates();
    // "Arv3  ver.1.0034".
    void SetMainCaption();
    // Hides the start window and shows the main window until it closes.
    void ShowMainWindow();
    // Removes the work folder.
    void Finish();

private:
    void reportError(const QString &text);

    Prompter &prompter_;
    StartupView &view_;
    QString firstArgument_;
};
