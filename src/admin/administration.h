// The administration settings: the institution data printed on every
// document, the waiting terms of the two stages, the numbering mode of the
// register and its next number, the shared database folder and the folder of
// automatic backups.
//
// The dialog "Administrare program" only shows and collects these values; the
// loading, the checks, the saving and the path actions live here. The values
// last loaded or saved are kept for the whole run (administrationValues()),
// because other parts read the institution data and the terms from them.
#pragma once

#include <QString>
#include <QStringList>

class Prompter;
class QWidget;

// The counties in the order of their stored index ("CONST"/"JUDET").
const QStringList &CountyNames();

// Numbering modes of the register ("CONST"/"NumTip").
enum NumberingMode : int { IndividualNumbering = 1, PerRequestNumbering = 2 };

struct AdministrationValues {
    // "CONST"/"UNITATE": name of the unit, upper case.
    QString unitate;
    // "CONST"/"LOCALIT": locality, upper case.
    QString localit;
    // "CONST"/"JUDET": index into CountyNames().
    int judet = 0;
    // "CONST"/"PRIMAR", "SECRETAR": mayor and secretary, upper case.
    QString primar;
    QString secretar;
    // "CONST"/"SITE": web site, lower case.
    QString site;
    // "CONST"/"ZileEt1": working days of stage I.
    int zileEt1 = 47;
    // "CONST"/"ZileEt2": calendar days of stage II.
    int zileEt2 = 30;
    // "CONST"/"NumTip".
    int numTip = IndividualNumbering;
    // Next register number of the selected mode ("INDEX"/"NR" or "NR2").
    qint64 nextNumber = 1;
    // Machine setting "SERVER" as shown: the folder, or "-" when empty.
    QString server = QStringLiteral("-");
    // Machine setting "CALESALVARI": the folder, or "-" when disabled.
    QString caleSalvari = QStringLiteral("-");
};

// The values of this run, as last loaded or saved.
AdministrationValues &administrationValues();

// Reads every setting into `values`. A stage term that is not a whole number
// keeps the value `values` already holds. When no backup folder was ever set,
// a default one is chosen and stored (DefaultBackupFolder), else "-" is shown.
void LoadAdministration(AdministrationValues &values);

// The counter of a numbering mode as the dialog shows it (missing or 0 is 1).
qint64 NextNumberOfMode(int numTip);

// A default folder for automatic backups: "Salvari_Date" in the user's
// documents folder, else in the home folder, created when missing. Empty when
// neither can be made.
QString DefaultBackupFolder();

// The message for a register number already used this year (by a request in
// either mode; in individual mode also by a communication, offer or act), or
// empty text when the number is free. Throws SqlError when a table cannot be read.
QString DuplicateNumberMessage(int numTip, qint64 number, int year);

// "&Memoreaza": refuses a number already used this year with a balloon at
// `counterField` and returns false; otherwise writes every value and returns
// true. Throws SettingsError when the settings file cannot be written.
bool SaveAdministration(Prompter &prompter, const AdministrationValues &values, QWidget *counterField);

// After a change of numbering mode: in every other act, the first reference
// "Cererea <number under the old mode>" to its request becomes the number under
// the new mode. Only a whole number matches ("Cererea 1" is not part of
// "Cererea 12"). Returns the number of acts rewritten.
int RewriteRequestReferences(int oldMode, int newMode);

// Chooses a folder for the path actions; tests answer in place of the dialog.
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen folder, or empty when the clerk cancelled.
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
};

enum class PathActionResult {
    // Nothing to do beyond what was shown.
    Stay,
    // The data folder is fixed at start: close the dialog and end the program.
    EndProgram,
};

// "Modificare cale server.": stores a complete shared database folder as
// "SERVER" after the checks and messages of the action.
PathActionResult ChangeServerPath(Prompter &prompter, FolderChooser &chooser, AdministrationValues &values);

// "Stergere cale server. Lucru local.": forgets the shared folder after the
// clerk confirms. `pathField` receives the balloon when there is nothing to clear.
PathActionResult ClearServerPath(Prompter &prompter, AdministrationValues &values, QWidget *pathField);

// "Modificare cale salvari automate.": stores a writable backup folder as
// "CALESALVARI"; refused on a workstation working on a shared folder.
void ChangeBackupPath(Prompter &prompter, FolderChooser &chooser, AdministrationValues &values);

// "Stergere cale salvari automate.": disables automatic backups ("-") after
// the clerk confirms.
void ClearBackupPath(Prompter &prompter, AdministrationValues &values, QWidget *pathField);

// True when every main table ("Cereri", "Comunicari", "Preemptori",
// "AlteActe", "Log") has its ".dbf" file in `folder`.
bool HoldsCompleteDatabase(const QString &folder);
