#include "backup/qtbackupfilechooser.h"

#include <QApplication>
#include <QFileDialog>

namespace {

const QString kFilter = QStringLiteral("Salvare Arvena v.3 (*.av3)");

QString chooseFile(QFileDialog::AcceptMode mode, const QString &title)
{
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), kFilter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("av3"));
    // The question about replacing an archive is the program's own.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtBackupFileChooser::chooseSaveFile()
{
    return chooseFile(QFileDialog::AcceptSave, QStringLiteral("Unde salvam datele ?"));
}

QString QtBackupFileChooser::chooseOpenFile()
{
    return chooseFile(QFileDialog::AcceptOpen, QStringLiteral("Indicati o salvare Arvena v.3 !"));
}
