#include "admin/tform4.h"

#include "admin/password.h"
#include "ui/dialogkeys.h"
#include "ui/qtprompter.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum class LetterCase { Upper, Lower };

// Letters take the field's case as they are typed, the cursor staying put.
void keepCase(QLineEdit *edit, LetterCase letterCase)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, letterCase](const QString &text) {
        const QString wanted = letterCase == LetterCase::Upper ? text.toUpper() : text.toLower();
        if (wanted == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(wanted);
        edit->setCursorPosition(cursor);
    });
}

QLineEdit *textField(QWidget *parent, const char *name, int maxLength = 0)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QLineEdit *digitsField(QWidget *parent, const char *name, int digits)
{
    QLineEdit *edit = textField(parent, name, digits);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), edit));
    return edit;
}

QLineEdit *passwordField(QWidget *parent, const char *name)
{
    QLineEdit *edit = textField(parent, name, 32);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    return edit;
}

QToolButton *pictureButton(QWidget *parent, const char *name, QStyle::StandardPixmap picture, const char *hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(false);
    return button;
}

QLabel *label(const char *text, QWidget *parent)
{
    return new QLabel(QString::fromLatin1(text), parent);
}

} // namespace

QString QtFolderChooser::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title,
                                             startFolder.trimmed().size() > 1 ? startFolder : QString());
}

TForm4::TForm4(QWidget *parent, Prompter *prompter, FolderChooser *chooser)
    : QDialog(parent)
    , prompter_(prompter)
    , chooser_(chooser)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Administrare program"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    UnitateE = textField(this, "UnitateE");
    LocalitE = textField(this, "LocalitE");
    JudetC = new QComboBox(this);
    JudetC->setObjectName(QStringLiteral("JudetC"));
    JudetC->addItems(CountyNames());
    JudetC->setMaxVisibleItems(20);
    PrimarE = textField(this, "PrimarE", 80);
    SecretarE = textField(this, "SecretarE", 80);
    SiteE = textField(this, "SiteE", 80);
    for (QLineEdit *e : {UnitateE, LocalitE, PrimarE, SecretarE})
        keepCase(e, LetterCase::Upper);
    keepCase(SiteE, LetterCase::Lower);

    ZileEt1E = digitsField(this, "ZileEt1E", 3);
    ZileEt2E = digitsField(this, "ZileEt2E", 3);
    for (QLineEdit *e : {ZileEt1E, ZileEt2E})
        e->setFixedWidth(48);
    NumTip1R = new QRadioButton(QStringLiteral("Individuala. Ex. 1,2,3,4...."), this);
    NumTip1R->setObjectName(QStringLiteral("NumTip1R"));
    NumTip2R = new QRadioButton(QStringLiteral("Dupa numarul de cerere. Ex. 1, 1/2, 1/3, ..., 2, 2/2, 2/3..."), this);
    NumTip2R->setObjectName(QStringLiteral("NumTip2R"));
    NrUrmE = digitsField(this, "NrUrmE", 10);
    NrUrmE->setFixedWidth(110);

    ServerE = textField(this, "ServerE");
    ServerE->setReadOnly(true);
    SalvariE = textField(this, "SalvariE");
    SalvariE->setReadOnly(true);
    ServerModB = pictureButton(this, "ServerModB", QStyle::SP_DirOpenIcon, "Modificare cale server.");
    ServerDelB = pictureButton(this, "ServerDelB", QStyle::SP_DialogDiscardButton, "Stergere cale server. Lucru local.");
    SalvariModB = pictureButton(this, "SalvariModB", QStyle::SP_DirOpenIcon, "Modificare cale salvari automate.");
    SalvariDelB = pictureButton(this, "SalvariDelB", QStyle::SP_DialogDiscardButton, "Stergere cale salvari automate.");

    Parola1E = passwordField(this, "Parola1E");
    Parola2E = passwordField(this, "Parola2E");
    SchimbaParolaB = new QPushButton(QStringLiteral("&Schimba parola"), this);
    SchimbaParolaB->setObjectName(QStringLiteral("SchimbaParolaB"));
    MemoB = new QPushButton(QStringLiteral("&Memoreaza"), this);
    MemoB->setObjectName(QStringLiteral("MemoB"));
    RenuntB = new QPushButton(QStringLiteral("&Renunt"), this);
    RenuntB->setObjectName(QStringLiteral("RenuntB"));
    for (QPushButton *b : {SchimbaParolaB, MemoB, RenuntB})
        b->setAutoDefault(false);

    auto *unit = new QGroupBox(QStringLiteral(" Date despre unitate "), this);
    auto *unitGrid = new QGridLayout(unit);
    unitGrid->addWidget(label("Denumirea unitatii", unit), 0, 0);
    unitGrid->addWidget(UnitateE, 0, 1, 1, 3);
    unitGrid->addWidget(label("Localitatea", unit), 1, 0);
    unitGrid->addWidget(LocalitE, 1, 1);
    unitGrid->addWidget(label("Judetul", unit), 1, 2);
    unitGrid->addWidget(JudetC, 1, 3);
    unitGrid->addWidget(label("Primar", unit), 2, 0);
    unitGrid->addWidget(PrimarE, 2, 1, 1, 3);
    unitGrid->addWidget(label("Secretar general", unit), 3, 0);
    unitGrid->addWidget(SecretarE, 3, 1, 1, 3);
    unitGrid->addWidget(label("Site-ul primariei", unit), 4, 0);
    unitGrid->addWidget(SiteE, 4, 1, 1, 3);
    unitGrid->setColumnStretch(1, 3);
    unitGrid->setColumnStretch(3, 2);

    auto *terms = new QGroupBox(QStringLiteral(" Termene de asteptare "), this);
    auto *termsGrid = new QGridLayout(terms);
    termsGrid->addWidget(label("Etapa I", terms), 0, 0);
    termsGrid->addWidget(ZileEt1E, 0, 1);
    termsGrid->addWidget(label("zile lucratoare", terms), 0, 2);
    termsGrid->addWidget(label("Etapa II", terms), 1, 0);
    termsGrid->addWidget(ZileEt2E, 1, 1);
    termsGrid->addWidget(label("zile calendaristice", terms), 1, 2);
    termsGrid->setColumnStretch(3, 1);

    auto *numbering = new QGroupBox(QStringLiteral("Mod de numerotare acte"), this);
    auto *numberingGrid = new QGridLayout(numbering);
    numberingGrid->addWidget(NumTip1R, 0, 0, 1, 3);
    numberingGrid->addWidget(NumTip2R, 1, 0, 1, 3);
    numberingGrid->addWidget(label("Nr.de inregistrare urmator", numbering), 2, 0);
    numberingGrid->addWidget(NrUrmE, 2, 1);
    numberingGrid->setColumnStretch(2, 1);

    auto *paths = new QGroupBox(QStringLiteral(" Cai "), this);
    auto *pathsGrid = new QGridLayout(paths);
    pathsGrid->addWidget(label("Cale Server :", paths), 0, 0);
    pathsGrid->addWidget(ServerE, 0, 1);
    pathsGrid->addWidget(ServerModB, 0, 2);
    pathsGrid->addWidget(ServerDelB, 0, 3);
    pathsGrid->addWidget(label("Cale Salvari :", paths), 1, 0);
    pathsGrid->addWidget(SalvariE, 1, 1);
    pathsGrid->addWidget(SalvariModB, 1, 2);
    pathsGrid->addWidget(SalvariDelB, 1, 3);
    pathsGrid->setColumnStretch(1, 1);

    auto *password = new QGroupBox(QStringLiteral(" Schimbare parola  "), this);
    auto *passwordGrid = new QGridLayout(password);
    passwordGrid->addWidget(label("Parola noua", password), 0, 0);
    passwordGrid->addWidget(Parola1E, 0, 1);
    passwordGrid->addWidget(label("Inca odata", password), 1, 0);
    passwordGrid->addWidget(Parola2E, 1, 1);
    passwordGrid->addWidget(SchimbaParolaB, 1, 2);
    passwordGrid->setColumnStretch(1, 1);

    auto *middle = new QHBoxLayout;
    middle->addWidget(terms, 2);
    middle->addWidget(numbering, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(MemoB);
    buttons->addWidget(RenuntB);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(unit);
    layout->addLayout(middle);
    layout->addWidget(paths);
    layout->addWidget(password);
    layout->addLayout(buttons);

    setTabOrder(UnitateE, LocalitE);
    setTabOrder(LocalitE, JudetC);
    setTabOrder(JudetC, PrimarE);
    setTabOrder(PrimarE, SecretarE);
    setTabOrder(SecretarE, SiteE);
    setTabOrder(SiteE, ZileEt1E);
    setTabOrder(ZileEt1E, ZileEt2E);
    setTabOrder(ZileEt2E, NumTip1R);
    setTabOrder(NumTip1R, NumTip2R);
    setTabOrder(NumTip2R, NrUrmE);
    setTabOrder(NrUrmE, Parola1E);
    setTabOrder(Parola1E, Parola2E);
    setTabOrder(Parola2E, SchimbaParolaB);
    setTabOrder(SchimbaParolaB, MemoB);
    setTabOrder(MemoB, RenuntB);

    connect(NumTip1R, &QRadioButton::clicked, this, [this] { numberingModeClicked(IndividualNumbering); });
    connect(NumTip2R, &QRadioButton::clicked, this, [this] { numberingModeClicked(PerRequestNumbering); });
    connect(MemoB, &QPushButton::clicked, this, &TForm4::MemoBClick);
    connect(RenuntB, &QPushButton::clicked, this, &QDialog::reject);
    connect(SchimbaParolaB, &QPushButton::clicked, this, &TForm4::SchimbaParolaBClick);
    // Enter in the second password field presses "&Schimba parola".
    EnterPresses(Parola2E, SchimbaParolaB);
    connect(ServerModB, &QToolButton::clicked, this, &TForm4::ServerModBClick);
    connect(ServerDelB, &QToolButton::clicked, this, &TForm4::ServerDelBClick);
    connect(SalvariModB, &QToolButton::clicked, this, &TForm4::SalvariModBClick);
    connect(SalvariDelB, &QToolButton::clicked, this, &TForm4::SalvariDelBClick);
    AdoptDialogKeys(this);
    resize(640, sizeHint().height());
}

Prompter &TForm4::prompter() const
{
    return prompter_ ? *prompter_ : static_cast<Prompter &>(qtPrompter());
}

FolderChooser &TForm4::chooser() const
{
    return chooser_ ? *chooser_ : const_cast<QtFolderChooser &>(ownChooser_);
}

void TForm4::Load()
{
    LoadAdministration(administrationValues());
    showValues(administrationValues());
}

void TForm4::showValues(const AdministrationValues &v)
{
    UnitateE->setText(v.unitate);
    LocalitE->setText(v.localit);
    JudetC->setCurrentIndex(v.judet);
    PrimarE->setText(v.primar);
    SecretarE->setText(v.secretar);
    SiteE->setText(v.site);
    ZileEt1E->setText(QString::number(v.zileEt1));
    ZileEt2E->setText(QString::number(v.zileEt2));
    NumTip1R->setChecked(v.numTip != PerRequestNumbering);
    NumTip2R->setChecked(v.numTip == PerRequestNumbering);
    NrUrmE->setText(QString::number(v.nextNumber));
    ServerE->setText(v.server);
    SalvariE->setText(v.caleSalvari);
}

AdministrationValues TForm4::fieldValues() const
{
    AdministrationValues v = administrationValues();
    v.unitate = UnitateE->text();
    v.localit = LocalitE->text();
    v.judet = qMax(0, JudetC->currentIndex());
    v.primar = PrimarE->text();
    v.secretar = SecretarE->text();
    v.site = SiteE->text();
    bool ok = false;
    if (const int days = ZileEt1E->text().toInt(&ok); ok)
        v.zileEt1 = days;
    if (const int days = ZileEt2E->text().toInt(&ok); ok)
        v.zileEt2 = days;
    v.numTip = NumTip2R->isChecked() ? PerRequestNumbering : IndividualNumbering;
    v.nextNumber = NrUrmE->text().toLongLong();
    return v;
}

void TForm4::numberingModeClicked(int numTip)
{
    NrUrmE->setText(QString::number(NextNumberOfMode(numTip)));
}

void TForm4::Open()
{
    Parola1E->clear();
    Parola2E->clear();
    Load();
    const int modeAtOpening = administrationValues().numTip;
    UnitateE->setFocus();
    if (exec() == QDialog::Accepted) {
        if (administrationValues().numTip != modeAtOpening)
            RewriteRequestReferences(modeAtOpening, administrationValues().numTip);
        return;
    }
    // Nothing typed here counts without "&Memoreaza"; the run keeps the stored
    // values (paths and password chosen meanwhile were stored at once).
    LoadAdministration(administrationValues());
}

void TForm4::CheckUnitName(const QString &adminCaption)
{
    if (!administrationValues().unitate.trimmed().isEmpty())
        return;
    const int answer = prompter().Mesaj(QStringLiteral("Atentionare"),
                                        QStringLiteral("Nu ati completat denumirea unitatii la ") + adminCaption
                                            + QStringLiteral("!\rDoriti sa o completati acum?"),
                                        ButtonDa | ButtonNu, KindWarning);
    if (answer == ResultYes)
        Open();
}

void TForm4::MemoBClick()
{
    const AdministrationValues values = fieldValues();
    NrUrmE->setText(QString::number(values.nextNumber));
    if (!SaveAdministration(prompter(), values, NrUrmE)) {
        NrUrmE->setFocus();
        return;
    }
    administrationValues() = values;
    accept();
}

void TForm4::SchimbaParolaBClick()
{
    if (ChangePassword(prompter(), Parola1E->text(), Parola2E->text()) == PasswordChange::Changed) {
        Parola1E->clear();
        Parola2E->clear();
    }
}

void TForm4::closeForRestart()
{
    endProgram_ = true;
    reject();
}

void TForm4::ServerModBClick()
{
    AdministrationValues &values = administrationValues();
    const PathActionResult result = ChangeServerPath(prompter(), chooser(), values);
    ServerE->setText(values.server);
    if (result == PathActionResult::EndProgram)
        closeForRestart();
}

void TForm4::ServerDelBClick()
{
    AdministrationValues &values = administrationValues();
    values.server = ServerE->text();
    const PathActionResult result = ClearServerPath(prompter(), values, ServerE);
    ServerE->setText(values.server);
    if (result == PathActionResult::EndProgram)
        closeForRestart();
}

void TForm4::SalvariModBClick()
{
    AdministrationValues &values = administrationValues();
    ChangeBackupPath(prompter(), chooser(), values);
    SalvariE->setText(values.caleSalvari);
}

void TForm4::SalvariDelBClick()
{
    AdministrationValues &values = administrationValues();
    values.caleSalvari = SalvariE->text();
    ClearBackupPath(prompter(), values, SalvariE);
    SalvariE->setText(values.caleSalvari);
}
