#include "app/mainwindow.h"

#include "admin/tform4.h"
#include "admin/password.h"
#include "backup/backupactions.h"
#include "backup/qtbackupfilechooser.h"
#include "backup/tform21.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "datastore/auditlog.h"
#include "register/tevidente.h"
#include "reports/export/registerspreadsheets.h"
#include "reports/export/tperselect.h"
#include "templates/documentmenus.h"
#include "templates/tselectnrsol.h"
#include "templates/templateactions.h"

#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QKeyEvent>
#include <QStatusBar>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int IconSize = 24;

MainButton *addButton(QHBoxLayout *row, const QString &name, const QString &caption, const QString &hint,
                      QStyle::StandardPixmap picture, QWidget *window)
{
    auto *button = new MainButton(caption, hint, window);
    button->setObjectName(name);
    button->setIcon(window->style()->standardIcon(picture));
    row->addWidget(button);
    return button;
}

QLabel *statusPanel(const QString &text, QStatusBar *bar)
{
    auto *panel = new QLabel(text, bar);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(4, 1, 4, 1);
    return panel;
}

} // namespace

MainButton::MainButton(const QString &caption, const QString &hint, QWidget *parent) : QToolButton(parent)
{
    setText(caption);
    setToolTip(hint);
    setFixedSize(Width, Height);
    setIconSize(QSize(IconSize, IconSize));
    setFocusPolicy(Qt::TabFocus);
    // "Administrare" fits the 80 pixels with a little room on either side.
    QFont captionFont = font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 0.9);
    setFont(captionFont);
}

void MainButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    p.drawComplexControl(QStyle::CC_ToolButton, option);

    const QRect area = rect().adjusted(3, 4, -3, -3);
    const QRect picture(area.center().x() - IconSize / 2, area.top(), IconSize, IconSize);
    icon().paint(&p, picture, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    p.drawText(area.adjusted(0, IconSize + 2, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
}

TForm3::TForm3(Prompter &prompter, PasswordAsker &login, TForm4 &administration, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      prompter_(prompter),
      login_(login),
      administration_(administration),
      applicantsDialog_(new TSelectNrSol(this))
{
    static QtBackupFileChooser backupFiles;
    backupDialog_ = new TForm21(prompter_, backupFiles, this);
    register_ = new TEvidente(prompter_, nullptr, this);
    setObjectName("TForm3");
    setWindowTitle("Arvena v.3");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonRow());
    layout->addWidget(buildStatusBar());
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    buildMenus();
    connectButtons();
    // Working buttons appear with the unlock.
    MBut1->hide();
    MBut2->hide();
    MBut3->hide();
}

QWidget *TForm3::buildButtonRow()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 4, 12, 4);
    row->setSpacing(2);
    MBut1 = addButton(row, "MBut1", "Evidenta", "Evidenta cereri.", QStyle::SP_FileDialogListView, this);
    MBut2 = addButton(row, "MBut2", "Liste / Formulare", "Liste si formulare.", QStyle::SP_FileDialogDetailedView,
                      this);
    MBut3 = addButton(row, "MBut3", "Utilitare", "Operatii cu datele. Sugestii. Explicatii. Legislatie.",
                      QStyle::SP_FileDialogContentsView, this);
    MButAdm = addButton(row, "MButAdm", "Administrare", "Administrare program.", QStyle::SP_MessageBoxWarning, this);
    ModelF = addButton(row, "ModelF", "Iesire", "Inchide programul.", QStyle::SP_DialogCloseButton, this);
    row->addStretch(1);
    row->addWidget(buildDateLabel());
    return bar;
}

QLabel *TForm3::buildDateLabel()
{
    DataL = new QLabel(this);
    DataL->setObjectName("DataL");
    QFont dateFont = DataL->font();
    dateFont.setBold(true);
    dateFont.setPointSizeF(dateFont.pointSizeF() * 1.5);
    DataL->setFont(dateFont);
    QPalette datePalette = DataL->palette();
    datePalette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    DataL->setPalette(datePalette);
    return DataL;
}

QStatusBar *TForm3::buildStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar1");
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setContentsMargins(2, 0, 2, 2);
    panel1_ = statusPanel("ESC - Iesire din program", StatusBar);
    panel1_->setMinimumWidth(200);
    panel2_ = statusPanel(QString(), StatusBar);
    StatusBar->addWidget(panel1_);
    StatusBar->addWidget(panel2_, 1);
    return StatusBar;
}

void TForm3::buildMenus()
{
    const auto chosen = [this](const DocumentMenuItem &item) { runDocumentAction(item); };
    Menu1 = new QMenu(this);
    Menu1->setObjectName("Menu1");
    QMenu *registers = Menu1->addMenu("Registrul de evidenta");
    registers->addAction("Format 1", this, [this] { RegistruClick(1); });
    registers->addAction("Format 2", this, [this] { RegistruClick(2); });
    for (const DocumentMenuItem &item : BlankFormsMenu())
        AddDocumentMenu(Menu1, item, chosen);
    Menu2 = new QMenu(this);
    Menu2->setObjectName("Menu2");
    Menu2->addAction("Salvare / Incarcare baza de date", this, &TForm3::SalvareClick);
    AddDocumentMenu(Menu2, TemplateModelsMenu(), chosen);
    AddDocumentMenu(Menu2, LawTextsMenu(), chosen);
}

void TForm3::RegistruClick(int format)
{
    TPerSelect &period = periodDialog();
    if (!period.AskPeriod(kRegisterTitle))
        return;
    QString error;
    if (ProduceRegisterSpreadsheet(format, period.Data0->date(), period.Data1->date(), prompter_, &error).isEmpty())
        prompter_.Mesaj("Registrul de evidenta", error, ButtonOk, KindError);
}

void TForm3::connectButtons()
{
    connect(MBut1, &QToolButton::clicked, this, &TForm3::MBut1Click);
    connect(MBut2, &QToolButton::clicked, this, [this] { dropMenu(Menu1, MBut2); });
    connect(MBut3, &QToolButton::clicked, this, [this] { dropMenu(Menu2, MBut3); });
    connect(MButAdm, &QToolButton::clicked, this, &TForm3::MButAdmClick);
    connect(ModelF, &QToolButton::clicked, this, &QDialog::reject);
}

void TForm3::keyPressEvent(QKeyEvent *event)
{
    // The buttons leave these keys to the window, whichever has the focus.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_F12:
        reject();
        return;
    case Qt::Key_F1:
        if (session().administrationUnlocked)
            MBut1Click();
        return;
    case Qt::Key_F2:
        if (session().administrationUnlocked)
            dropMenu(Menu1, MBut2);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TForm3::ShowMainWindow()
{
    LogAction("Pornire program");
    DataL->setText(QDate::currentDate().toString("dd.MM.yyyy"));
    if (qEnvironmentVariableIsSet("ARVENA3_CLOSE_MAIN_WINDOW"))
        QTimer::singleShot(0, this, &QDialog::reject);
    exec();
    const bool saveAtClose = !dataReplaced_ && backup::AskClosingBackup(prompter_, session().administrationUnlocked);
    LogAction("Inchidere Program.");
    if (saveAtClose)
        backup::MakeClosingBackup(prompter_, {}, QDate::currentDate());
    removeHelpFiles();
}

void TForm3::MBut1Click()
{
    administration_.CheckUnitName(MButAdm->text());
    register_->OpenRegister();
}

void TForm3::SalvareClick()
{
    if (!backupDialog_->Execute())
        return;
    dataReplaced_ = true;
    MBut1->hide();
    reject();
}

void TForm3::removeHelpFiles()
{
    const QDir programFolder(session().programFolder);
    for (const QString &name : HelpFileNames())
        QFile::remove(programFolder.filePath(name));
}

void TForm3::setWorkingMode(const QString &text)
{
    panel2_->setText(text);
}

QString TForm3::workingMode() const
{
    return panel2_->text();
}

void TForm3::MButAdmClick()
{
    switch (UnlockRequest(prompter_, login_)) {
    case UnlockOutcome::OpenAdministration:
        administration_.Open();
        if (administration_.endProgramRequested())
            reject();
        break;
    case UnlockOutcome::Unlocked:
        showUnlocked();
        break;
    case UnlockOutcome::Locked:
        break;
    }
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    spanScreenWidth();
}

void TForm3::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || isMinimized())
        return;
    if (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized)
        spanScreenWidth();
}

void TForm3::showUnlocked()
{
    MButAdm->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    MBut1->show();
    MBut2->show();
    MBut3->show();
}

void TForm3::dropMenu(QMenu *menu, QWidget *button)
{
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void TForm3::runDocumentAction(const DocumentMenuItem &item)
{
    TemplateActions actions(prompter_, [this] {
        return applicantsDialog_->AskApplicantCount() ? applicantsDialog_->applicants() : 0;
    });
    actions.Run(item);
}

void TForm3::spanScreenWidth()
{
    const QScreen *where = screen();
    if (!where)
        return;
    const QRect available = where->availableGeometry();
    resize(available.width(), minimumSizeHint().height());
    move(available.topLeft());
}

QStringList HelpFileNames()
{
    QStringList names{"Manual.pdf"};
    for (int n = 1; n <= 7; ++n)
        names << "Pop" + QString::number(n) + ".pdf";
    return names;
}
