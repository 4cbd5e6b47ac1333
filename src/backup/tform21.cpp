#include "backup/tform21.h"

#include "platform/session.h"
#include "ui/dialogkeys.h"

#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QPushButton *actionButton(const QString &caption, const QString &name, QStyle::StandardPixmap icon, QWidget *parent)
{
    auto *button = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
    button->setObjectName(name);
    button->setMinimumHeight(40);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm21::TForm21(Prompter &prompter, backup::BackupFileChooser &chooser, QWidget *parent)
    : QDialog(parent), prompter_(prompter), chooser_(chooser)
{
    setObjectName(QStringLiteral("Form21"));
    setWindowTitle(QStringLiteral("Copie - inlocuieste baza de date"));
    setModal(true);
    SalveazaB = actionButton(QStringLiteral("Salveaza o copie a datelor"), QStringLiteral("SalveazaB"),
                             QStyle::SP_DialogSaveButton, this);
    IncarcaB = actionButton(QStringLiteral("Incarca o salvare anterioara"), QStringLiteral("IncarcaB"),
                            QStyle::SP_DialogOpenButton, this);
    DistantaB = actionButton(QStringLiteral("Copie / Recupereaza date la Distanta"), QStringLiteral("DistantaB"),
                             QStyle::SP_DriveNetIcon, this);
    DistantaB->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);
    layout->addWidget(SalveazaB);
    layout->addWidget(IncarcaB);
    layout->addWidget(DistantaB);
    setMinimumWidth(360);

    connect(SalveazaB, &QPushButton::clicked, this, &TForm21::SalveazaBClick);
    connect(IncarcaB, &QPushButton::clicked, this, &TForm21::IncarcaBClick);
    connect(DistantaB, &QPushButton::clicked, this, &TForm21::DistantaBClick);
    AdoptDialogKeys(this, DialogKey::EscCloses);
}

void TForm21::setRemoteCopy(const backup::RemoteCopyStarter &remote, const std::function<void()> &openRemoteWindow)
{
    remote_ = remote;
    openRemoteWindow_ = openRemoteWindow;
    DistantaB->setEnabled(bool(openRemoteWindow_));
}

bool TForm21::Execute()
{
    restored_ = false;
    // Inside an archive opened at start the archive is the data: nothing to restore over.
    IncarcaB->setEnabled(session().openedBackup.isEmpty());
    SalveazaB->setFocus();
    exec();
    return restored_;
}

void TForm21::SalveazaBClick()
{
    const bool saved = backup::SaveBackupCopy(prompter_, chooser_, remote_, [this] { hide(); });
    if (saved || !isVisible())
        reject();
}

void TForm21::IncarcaBClick()
{
    restored_ = backup::RestoreBackup(prompter_, chooser_, [this] { hide(); });
    if (restored_ || !isVisible())
        reject();
}

void TForm21::DistantaBClick()
{
    hide();
    if (openRemoteWindow_)
        openRemoteWindow_();
    reject();
}
