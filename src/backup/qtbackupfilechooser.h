// The file dialogs of backup and restore: "Salvare Arvena v.3 (*.av3)", the
// default extension ".av3" added to a name typed without one.
#pragma once

#include "backup/backupactions.h"

class QtBackupFileChooser : public backup::BackupFileChooser {
public:
    QString chooseSaveFile() override;
    QString chooseOpenFile() override;
};
