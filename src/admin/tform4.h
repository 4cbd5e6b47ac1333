// The dialog "Administrare program": shows the administration values, lets the
// clerk edit them and calls the operations of administration.h. It opens from
// the main window once the program is unlocked.
#pragma once

#include "admin/administration.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// The folder dialog of the desktop.
class QtFolderChooser : public FolderChooser {
public:
    QString chooseFolder(const QString &title, const QString &startFolder) override;
};

class TForm4 : public QDialog {
    Q_OBJECT
public:
    // `prompter` and `chooser` answer the dialog's questions and folder choices;
    // null means the program's own (message dialog, desktop folder dialog).
    explicit TForm4(QWidget *parent = nullptr, Prompter *prompter = nullptr, FolderChooser *chooser = nullptr);

    // Loads every field, shows the dialog modally and, when the values were
    // stored with a different numbering mode, rewrites the acts' references to
    // their requests. "&Renunt" and Esc store nothing and keep the mode.
    void Open();

    // Reads the settings into the fields (also run at start-up).
    void Load();

    // Asks, when the unit's name is empty, whether to fill it in now, and opens
    // the dialog on "Da". `adminCaption` is the caption of the main window's
    // "Administrare" button.
    void CheckUnitName(const QString &adminCaption);

    // True once a server path action asked for the program to end.
    bool endProgramRequested() const { return endProgram_; }

    // The values as the fields hold them.
    AdministrationValues fieldValues() const;
    // Puts `values` into the fields.
    void showValues(const AdministrationValues &values);

    QLineEdit *UnitateE;
    QLineEdit *LocalitE;
    QComboBox *JudetC;
    QLineEdit *PrimarE;
    QLineEdit *SecretarE;
    QLineEdit *SiteE;
    QLineEdit *ZileEt1E;
    QLineEdit *ZileEt2E;
    QRadioButton *NumTip1R;
    QRadioButton *NumTip2R;
    QLineEdit *NrUrmE;
    QLineEdit *ServerE;
    QLineEdit *SalvariE;
    QToolButton *ServerModB;
    QToolButton *ServerDelB;
    QToolButton *SalvariModB;
    QToolButton *SalvariDelB;
    QLineEdit *Parola1E;
    QLineEdit *Parola2E;
    QPushButton *SchimbaParolaB;
    QPushButton *MemoB;
    QPushButton *RenuntB;

private:
    void numberingModeClicked(int numTip);
    void MemoBClick();
    void SchimbaParolaBClick();
    void ServerModBClick();
    void ServerDelBClick();
    void SalvariModBClick();
    void SalvariDelBClick();
    void closeForRestart();
    Prompter &prompter() const;
    FolderChooser &chooser() const;

    Prompter *prompter_;
    FolderChooser *chooser_;
    QtFolderChooser ownChooser_;
    bool endProgram_ = false;
};
