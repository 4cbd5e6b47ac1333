#include "dialogs/taddcomun.h"

#include "dialogs/answerchecks.h"
#include "dialogs/dialogparts.h"
#include "dialogs/numericrules.h"
#include "dialogs/tcnpedit.h"
#include "dialogs/tnumericf.h"
#include "dialogs/tselpreef.h"
#include "platform/prompter.h"
#include "ui/combohelpers.h"
#include "ui/dialogkeys.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace dialogparts;

TAddComun::TAddComun(QWidget *parent, Prompter *prompter)
    : QDialog(parent)
    , prompter_(prompter)
{
    setObjectName(QStringLiteral("TAddComun"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QWidget *header = HeaderBand(this, &TitleL);
    NrCaptionL = Label(QString(), this);
    NrL = Label(QString(), this, true);
    NrL->setObjectName(QStringLiteral("NrL"));
    DataC = DateField(this, "DataC");
    DataAfis = DateField(this, "DataAfis");
    TipPF = ListField(this, "TipPF", {QStringLiteral("FIZICA"), QStringLiteral("JURIDICA")}, false);
    Rang = ListField(this, "Rang", AnswerRankTexts(), false);
    Rang->setMinimumContentsLength(50);
    Rang->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(Rang, &QComboBox::currentIndexChanged, this, [this] { Rang->setToolTip(Rang->currentText()); });
    SelPree = new QPushButton(QStringLiteral("Alege din Cerere"), this);
    SelPree->setObjectName(QStringLiteral("SelPree"));
    SelPree->setAutoDefault(false);
    Cumparator = TextField(this, "Cumparator", 80, LetterCase::Upper, 50);
    CNPCUI = new TCNPEdit(this);
    CNPCUI->setObjectName(QStringLiteral("CNPCUI"));
    WidthForChars(CNPCUI, 15);
    Loc = TextField(this, "Loc", 32, LetterCase::Upper, 24);
    Adresa = TextField(this, "Adresa", 120, LetterCase::AsTyped, 50);
    Pret = NumberField(this, "Pret", 8, 2, 9);
    for (QWidget *w : QList<QWidget *>{Cumparator, CNPCUI, Loc, Adresa, Pret})
        MarkRequired(w, true);

    auto *grid = new QGridLayout;
    const auto label = [this, grid](int r, int c, const QString &text, QWidget *field) {
        QLabel *l = Label(text, this);
        l->setBuddy(field);
        grid->addWidget(l, r, c, Qt::AlignRight);
        return l;
    };
    grid->addWidget(NrCaptionL, 0, 0, Qt::AlignRight);
    grid->addWidget(NrL, 0, 1);
    label(0, 2, QStringLiteral("din data"), DataC);
    grid->addWidget(DataC, 0, 3);
    label(1, 2, QStringLiteral("data Afisarii"), DataAfis);
    grid->addWidget(DataAfis, 1, 3);
    grid->addWidget(Label(QStringLiteral("Cumparator"), this, true), 2, 0, 1, 2);
    label(3, 0, QStringLiteral("Tip persoana"), TipPF);
    grid->addWidget(TipPF, 3, 1);
    grid->addWidget(SelPree, 3, 3, Qt::AlignRight);
    RangL = label(4, 0, QStringLiteral("Rangul"), Rang);
    grid->addWidget(Rang, 4, 1, 1, 3);
    label(5, 0, QStringLiteral("Nume si prenume"), Cumparator);
    grid->addWidget(Cumparator, 5, 1, 1, 3);
    label(6, 0, QStringLiteral("C.N.P./Cod Fiscal"), CNPCUI);
    grid->addWidget(CNPCUI, 6, 1);
    label(7, 0, QStringLiteral("Localitatea"), Loc);
    grid->addWidget(Loc, 7, 1);
    label(8, 0, QStringLiteral("Adresa"), Adresa);
    grid->addWidget(Adresa, 8, 1, 1, 3);
    label(9, 0, QStringLiteral("Pret (lei)"), Pret);
    grid->addWidget(Pret, 9, 1);
    grid->setColumnStretch(1, 1);

    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(footer);

    QList<QWidget *> order = enterOrder();
    order << SelPree << MemoBut << RenuntBut;
    ChainTabOrder(order);

    connect(MemoBut, &QPushButton::clicked, this, &TAddComun::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(SelPree, &QPushButton::clicked, this, &TAddComun::SelPreeClick);
    AdoptDialogKeys(this);
    Pret->setText(QStringLiteral("0"));
    SetAnswerKind(true);
    ClearCommunicationFields();
}

QList<QWidget *> TAddComun::enterOrder() const
{
    QList<QWidget *> order{DataC, DataAfis, TipPF};
    if (communication_)
        order << Rang;
    order << Cumparator << CNPCUI << Loc << Adresa << Pret;
    return order;
}

void TAddComun::SetAnswerKind(bool communication)
{
    communication_ = communication;
    setWindowTitle(communication ? QStringLiteral("Comunicare de acceptare") : QStringLiteral("Oferta de cumparare"));
    NrCaptionL->setText(communication ? QStringLiteral("Numar Comunicare") : QStringLiteral("Numar Oferta"));
    for (QWidget *w : QList<QWidget *>{RangL, Rang, SelPree})
        w->setVisible(communication);
}

void TAddComun::setNumber(const QString &nr)
{
    NrL->setText(nr);
}

void TAddComun::ClearCommunicationFields()
{
    DataC->setDate(QDate::currentDate());
    DataAfis->setDate(QDate::currentDate());
    for (QLineEdit *e : {Cumparator, static_cast<QLineEdit *>(CNPCUI), Loc, Adresa})
        e->clear();
}

void TAddComun::LoadAnswer(const AnswerLine &l)
{
    DataC->setDate(l.dataC);
    DataAfis->setDate(l.dataAfis);
    SelectComboItem(TipPF, l.tippf);
    if (l.rang >= 1 && l.rang <= Rang->count())
        Rang->setCurrentIndex(l.rang - 1);
    Cumparator->setText(l.cumparator);
    CNPCUI->setText(l.cnpcui);
    Loc->setText(l.loc);
    Adresa->setText(l.adresa);
    Pret->setText(l.pret);
}

AnswerLine TAddComun::answerLine() const
{
    AnswerLine l;
    l.dataC = DataC->date();
    l.dataAfis = DataAfis->date();
    l.tippf = TipPF->currentText();
    l.rang = Rang->currentIndex() + 1;
    l.cumparator = Cumparator->text();
    l.cnpcui = CNPCUI->text();
    l.loc = Loc->text();
    l.adresa = Adresa->text();
    l.pret = Pret->text();
    return l;
}

bool TAddComun::EditCommunication(bool add, double minimumPrice)
{
    saved_ = false;
    minimumPrice_ = minimumPrice;
    if (add)
        Pret->setText(ShortestDecimal(minimumPrice));
    TitleL->setText((add ? QStringLiteral("Adaugare ") : QStringLiteral("Modificare "))
                    + (communication_ ? QStringLiteral("Comunicare") : QStringLiteral("Oferta")));
    ChainTabOrder(enterOrder() << SelPree << MemoBut << RenuntBut);
    adjustSize();
    DataC->setFocus();
    exec();
    return saved_;
}

void TAddComun::SelPreeClick()
{
    if (!holders_)
        holders_ = new TSelPreeF(this);
    bool chosen = false;
    if (!RunReported(PrompterOr(prompter_), [&] { chosen = holders_->ChooseOpenHolder(requestId_); }) || !chosen)
        return;
    const HolderLine h = holders_->chosenHolder();
    SelectComboItem(TipPF, h.tippf);
    if (h.rang >= 1 && h.rang <= Rang->count())
        Rang->setCurrentIndex(h.rang - 1);
    Cumparator->setText(h.nume);
    CNPCUI->setText(h.cnp);
    Loc->clear();
    Adresa->setText(h.adresa);
}

void TAddComun::MemoButClick()
{
    AnswerLine line = answerLine();
    const CheckOutcome outcome = CheckAnswer(line, minimumPrice_);
    LoadAnswer(line);
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
