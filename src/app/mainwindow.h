// The main window TForm3: one row of buttons across the top of the screen
// from which the clerk reaches every function, and the gate of the program,
// since its working buttons stay hidden until the administrator password is
// given ("Administrare").
//
//   TForm3 main(qtPrompter(), login, administration);
//   main.ShowMainWindow();   // logs the start, shows it modally, logs the end
//
// Keys: Esc and F12 close the window; F1 opens the register and F2 drops the
// "Liste / Formulare" menu, both once the program is unlocked.
//
// When ARVENA3_CLOSE_MAIN_WINDOW is set (tests of the whole start-up through
// the real program), the window closes by itself as soon as it is shown.
#pragma once

#include <QDialog>
#include <QToolButton>

class PasswordAsker;
class Prompter;
class QLabel;
class QMenu;
class QStatusBar;
class TEvidente;
class TForm21;
class TForm4;
class TSelectNrSol;
struct DocumentMenuItem;

// A button of the main window: 80 pixels wide, its picture above its caption,
// the caption wrapped on two lines when it needs them.
class MainButton : public QToolButton {
    Q_OBJECT
public:
    MainButton(const QString &caption, const QString &hint, QWidget *parent);

    static constexpr int Width = 80;
    static constexpr int Height = 64;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // `prompter` shows the questions and errors, `login` asks the password,
    // `administration` is the "Administrare program" dialog.
    TForm3(Prompter &prompter, PasswordAsker &login, TForm4 &administration, QWidget *parent = nullptr);

    // Logs "Pornire program", shows the window modally, logs "Inchidere
    // Program." when it has closed, makes the closing backup when the clerk
    // asks for it, then removes the help files the program may have written
    // into the program folder. Throws what LogAction throws.
    void ShowMainWindow();

    // "Evidenta": offers to fill in the unit's name when it is empty, then
    // opens the register window.
    void MBut1Click();

    // "Utilitare" -> "Salvare / Incarcare baza de date": the backup dialog;
    // after a restore the window closes without the closing backup.
    void SalvareClick();

    // "Liste / Formulare" -> "Registrul de evidenta" -> "Format 1" / "Format 2":
    // asks the period and writes and opens the register spreadsheet; a
    // failure is shown with its reason.
    void RegistruClick(int format);

    // Second panel of the status bar: the working mode ("Lucru local.", ...).
    void setWorkingMode(const QString &text);
    QString workingMode() const;

    // The click on "Administrare": unlocks the program, or, once unlocked,
    // opens the administration dialog (and closes this window when the dialog
    // asks for the program to end).
    void MButAdmClick();

    MainButton *MBut1;
    MainButton *MBut2;
    MainButton *MBut3;
    MainButton *MButAdm;
    MainButton *ModelF;
    // "Liste / Formulare" and "Utilitare".
    QMenu *Menu1;
    QMenu *Menu2;
    QLabel *DataL;
    QStatusBar *StatusBar;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // A window restored from the task bar spans the screen again.
    void changeEvent(QEvent *event) override;

private:
    // The pieces of the window, built in this order by the constructor.
    QWidget *buildButtonRow();
    QLabel *buildDateLabel();
    QStatusBar *buildStatusBar();
    void buildMenus();
    void connectButtons();

    void removeHelpFiles();
    void showUnlocked();
    void dropMenu(QMenu *menu, QWidget *button);
    void runDocumentAction(const DocumentMenuItem &item);
    void spanScreenWidth();

    Prompter &prompter_;
    PasswordAsker &login_;
    TForm4 &administration_;
    TSelectNrSol *applicantsDialog_;
    TForm21 *backupDialog_;
    // The register window, made once for the whole run.
    TEvidente *register_;
    // A restore replaced the data: nothing is asked or saved at closing.
    bool dataReplaced_ = false;
    QLabel *panel1_;
    QLabel *panel2_;
};

// The files "Manual.pdf" and "Pop1.pdf" … "Pop7.pdf" removed from the program
// folder at the end of a run.
QStringList HelpFileNames();
