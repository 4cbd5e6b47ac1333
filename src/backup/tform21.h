// The dialog "Copie - inlocuieste baza de date" (main window, "Utilitare" ->
// "Salvare / Incarcare baza de date"): a backup of the data, a restore from an
// earlier backup, and the remote copy.
//
//   TForm21 dialog(qtPrompter(), chooser);
//   if (dialog.Execute())      // the data were replaced: the program ends
//       ...
//
// The restore button is disabled while the program works inside an archive
// opened at start; the remote-copy button only when no remote copy is set.
#pragma once

#include "backup/backupactions.h"

#include <QDialog>

class Prompter;
class QPushButton;

class TForm21 : public QDialog {
    Q_OBJECT
public:
    TForm21(Prompter &prompter, backup::BackupFileChooser &chooser, QWidget *parent = nullptr);

    // The remote copy opened by the third button and offered after a backup.
    void setRemoteCopy(const backup::RemoteCopyStarter &remote,
                       const std::function<void()> &openRemoteWindow);

    // Shows the dialog modally; true when a restore replaced the data.
    bool Execute();

    QPushButton *SalveazaB;
    QPushButton *IncarcaB;
    QPushButton *DistantaB;

private:
    void SalveazaBClick();
    void IncarcaBClick();
    void DistantaBClick();

    Prompter &prompter_;
    backup::BackupFileChooser &chooser_;
    backup::RemoteCopyStarter remote_;
    std::function<void()> openRemoteWindow_;
    bool restored_ = false;
};
