#include "dialogs/taddpree.h"

#include "dialogs/dialogparts.h"
#include "dialogs/holderranks.h"
#include "dialogs/requestchecks.h"
#include "dialogs/tnumericf.h"
#include "platform/prompter.h"
#include "ui/combohelpers.h"
#include "ui/dialogkeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace dialogparts;

TAddPree::TAddPree(QWidget *parent, Prompter *prompter)
    : QDialog(parent)
    , prompter_(prompter)
{
    setObjectName(QStringLiteral("TAddPree"));
    setWindowTitle(QStringLiteral("Lista Preemptori"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QWidget *header = HeaderBand(this, &TitleL);
    Rang = ListField(this, "Rang", RankTexts(), false);
    // The long rank texts are read in full in the hint and the open list.
    Rang->setMinimumContentsLength(60);
    Rang->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TipPF = ListField(this, "TipPF", {QStringLiteral("FIZICA"), QStringLiteral("JURIDICA")}, false);
    Nume = TextField(this, "Nume", 80, LetterCase::Upper, 50);
    MarkRequired(Nume, true);
    CNP = TextField(this, "CNP", 13, LetterCase::Upper, 15);
    RC = TextField(this, "RC", 24, LetterCase::Upper, 24);
    Adresa = TextField(this, "Adresa", 120, LetterCase::AsTyped, 50);
    CodPostal = NumberField(this, "CodPostal", 8, 0, 8);
    CodPostal->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Email = TextField(this, "Email", 60, LetterCase::Lower, 30);
    Tel = TextField(this, "Tel", 16, LetterCase::Upper, 17);
    Posta = new QCheckBox(QStringLiteral("Notificare prin Posta"), this);
    Posta->setObjectName(QStringLiteral("Posta"));
    NoteL = new QLabel(QStringLiteral("* Casutele cu galben sunt obligatorii"), this);
    NoteL->setObjectName(QStringLiteral("NoteL"));
    QPalette notePalette = NoteL->palette();
    notePalette.setColor(QPalette::Window, RequiredColour());
    NoteL->setPalette(notePalette);
    NoteL->setAutoFillBackground(true);
    NoteL->setMargin(3);

    auto *grid = new QGridLayout;
    const auto row = [grid, this](int r, const QString &text, QWidget *field, int span = 3) {
        QLabel *label = Label(text, this);
        label->setBuddy(field);
        grid->addWidget(label, r, 0, Qt::AlignRight);
        grid->addWidget(field, r, 1, 1, span);
    };
    row(0, QStringLiteral("Rangul"), Rang);
    row(1, QStringLiteral("Tip persoana"), TipPF, 1);
    row(2, QStringLiteral("Nume si prenume"), Nume);
    row(3, QStringLiteral("C.N.P./C.I.F."), CNP, 1);
    grid->addWidget(Label(QStringLiteral("Reg.Comertului"), this), 3, 2, Qt::AlignRight);
    grid->addWidget(RC, 3, 3);
    row(4, QStringLiteral("Adresa"), Adresa);
    row(5, QStringLiteral("Cod postal"), CodPostal, 1);
    row(6, QStringLiteral("E-mail"), Email, 1);
    grid->addWidget(Label(QStringLiteral("Telefon"), this), 6, 2, Qt::AlignRight);
    grid->addWidget(Tel, 6, 3);
    grid->addWidget(Posta, 7, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut);
    footer->insertWidget(0, NoteL);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(footer);

    QList<QWidget *> order = enterOrder();
    order << MemoBut << RenuntBut;
    ChainTabOrder(order);

    connect(MemoBut, &QPushButton::clicked, this, &TAddPree::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(Rang, &QComboBox::currentIndexChanged, this, &TAddPree::RangChange);
    connect(Posta, &QCheckBox::toggled, this, &TAddPree::PostaClick);
    AdoptDialogKeys(this);
    ClearHolderFields();
}

QList<QWidget *> TAddPree::enterOrder() const
{
    return {Rang, TipPF, Nume, CNP, RC, Adresa, CodPostal, Email, Tel, Posta};
}

void TAddPree::ClearHolderFields()
{
    for (QLineEdit *e : {Nume, Adresa, CNP, RC, static_cast<QLineEdit *>(CodPostal), Email, Tel})
        e->clear();
    Posta->setChecked(false);
    Rang->setCurrentIndex(0);
}

void TAddPree::LoadHolderLine(const HolderLine &l)
{
    Rang->setCurrentIndex(std::clamp(l.rang - 1, 0, int(RankTexts().size()) - 1));
    SelectComboItem(TipPF, l.tippf);
    Nume->setText(l.nume);
    Adresa->setText(l.adresa);
    Posta->setChecked(l.posta);
    CNP->setText(l.cnp);
    RC->setText(l.rc);
    CodPostal->setText(l.codpostal);
    Email->setText(l.email);
    Tel->setText(l.tel);
}

HolderLine TAddPree::holderLine(const HolderLine &base) const
{
    HolderLine l = base;
    l.rang = Rang->currentIndex() + 1;
    l.tippf = TipPF->currentText();
    l.nume = Nume->text();
    l.cnp = CNP->text();
    l.rc = RC->text();
    l.adresa = Adresa->text();
    l.codpostal = CodPostal->text();
    l.email = Email->text();
    l.tel = Tel->text();
    l.posta = Posta->isChecked();
    return l;
}

bool TAddPree::EditHolder(const QString &holderId, QWidget *anchor)
{
    saved_ = false;
    holderId_ = holderId;
    if (holderId.isEmpty()) {
        TitleL->setText(QStringLiteral("Adaugare Preemptor"));
        ClearHolderFields();
    } else {
        TitleL->setText(QStringLiteral("Modificare Preemptor"));
    }
    adjustSize();
    if (anchor) {
        const QRect frame = anchor->frameGeometry();
        move(frame.left(), frame.bottom() - frameGeometry().height() + 1);
    }
    RangChange();
    PostaClick();
    Rang->setFocus();
    exec();
    return saved_;
}

void TAddPree::RangChange()
{
    Rang->setToolTip(Rang->currentText());
}

void TAddPree::PostaClick()
{
    MarkRequired(Adresa, Posta->isChecked());
}

void TAddPree::MemoButClick()
{
    HolderLine line = holderLine();
    const qlonglong exceptIdp = holderId_.toLongLong();
    MemoBut->setEnabled(false);
    CheckOutcome outcome = CheckOutcome::stopped();
    RunReported(PrompterOr(prompter_), [&] {
        outcome = CheckHolderLine(
            line, [this, exceptIdp](const QString &name) { return nameTaken_ && nameTaken_(name, exceptIdp); },
            PrompterOr(prompter_));
    });
    MemoBut->setEnabled(true);
    LoadHolderLine(line);
    if (!outcome.passed) {
        if (QWidget *field = findChild<QWidget *>(outcome.field)) {
            field->setFocus();
            PrompterOr(prompter_).ShowProblem(outcome.problem, field);
        }
        return;
    }
    saved_ = true;
    accept();
}
