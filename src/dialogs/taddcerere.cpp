#include "dialogs/taddcerere.h"

#include "datastore/counters.h"
#include "datastore/settings.h"
#include "dialogs/bandedgrid.h"
#include "dialogs/dialogparts.h"
#include "dialogs/requestgrids.h"
#include "dialogs/sellerhistory.h"
#include "dialogs/sharearithmetic.h"
#include "dialogs/taddpree.h"
#include "dialogs/taltivanz.h"
#include "dialogs/tnumericf.h"
#include "dialogs/tselcerere.h"
#include "platform/prompter.h"
#include "platform/session.h"
#include "ui/combohelpers.h"
#include "ui/dialogkeys.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace dialogparts;

namespace {

const QStringList YesNo = {QStringLiteral("DA"), QStringLiteral("NU")};
const QStringList PersonKinds = {QStringLiteral("FIZICA"), QStringLiteral("JURIDICA")};
constexpr int ConditionsLength = 240;
// Time for the dialog to appear before the earlier sellers are read.
constexpr int PrefetchDelayMs = 150;

QStringList categories()
{
    return {QStringLiteral("Teren arabil"),
            QStringLiteral("Pasuni naturale"),
            QStringLiteral("Fanete naturale"),
            QStringLiteral("Vii, pepiniere viticole si hameisti"),
            QStringLiteral("Livezi de pomi, pepiniere pomicole, arbusti fructiferi"),
            QStringLiteral("Gradini familiale"),
            QStringLiteral("Paduri si alte terenuri cu vegetatie forestiera"),
            QStringLiteral("Drumuri si cai ferate"),
            QStringLiteral("Constructii"),
            QStringLiteral("Terenuri degradate si neproductive"),
            QStringLiteral("Ape si balti")};
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// A heading inside a tab, bold.
QLabel *heading(const QString &text, QWidget *parent)
{
    QLabel *label = Label(text, parent, true);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    label->setFont(f);
    return label;
}

void setBold(QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

} // namespace

TAddCerere::TAddCerere(QWidget *parent, Prompter *prompter, TAltiVanz *sellerDialog, TAddPree *holderDialog,
                       TSelCerere *requestChooser)
    : QDialog(parent)
    , prompter_(prompter)
    , sellers_(sellerDialog ? sellerDialog : new TAltiVanz(this, prompter))
    , holders_(holderDialog ? holderDialog : new TAddPree(this, prompter))
    , chooser_(requestChooser ? requestChooser : new TSelCerere(this, prompter))
{
    setObjectName(QStringLiteral("TAddCerere"));
    setWindowTitle(QStringLiteral("Legea 17 / 2014"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QWidget *header = HeaderBand(this, &TitleL);
    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->addTab(makeRequestTab(), QStringLiteral("Cerere"));
    Pages->addTab(makeSellerTab(), QStringLiteral("Vanzatori"));
    Pages->addTab(makeLandTab(), QStringLiteral("Teren"));
    Pages->addTab(makeHolderTab(), QStringLiteral("Preemptori"));
    Pages->setFocusPolicy(Qt::NoFocus);
    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(Pages, 1);
    layout->addLayout(footer);

    QList<QWidget *> order;
    for (int tab = 0; tab < Pages->count(); ++tab)
        order << enterOrder(tab);
    order << MemoBut << RenuntBut;
    ChainTabOrder(order);

    connect(MemoBut, &QPushButton::clicked, this, &TAddCerere::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(AddVanzB, &QPushButton::clicked, this, &TAddCerere::AddVanzBClick);
    connect(EditVanzB, &QPushButton::clicked, this, &TAddCerere::EditVanzBClick);
    connect(DelVanzB, &QPushButton::clicked, this, &TAddCerere::DelVanzBClick);
    connect(AddAllB, &QPushButton::clicked, this, &TAddCerere::AddAllBClick);
    connect(AddB, &QPushButton::clicked, this, &TAddCerere::AddBClick);
    connect(EditB, &QPushButton::clicked, this, &TAddCerere::EditBClick);
    connect(DelB, &QPushButton::clicked, this, &TAddCerere::DelBClick);
    connect(AddAllPreB, &QPushButton::clicked, this, &TAddCerere::AddAllPreBClick);
    for (TNumericF *f : {Supraf, Cota1, Cota2})
        connect(f, &QLineEdit::textChanged, this, &TAddCerere::SuprafChange);
    connect(Conditii, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = Conditii->toPlainText();
        if (text.size() > ConditionsLength) {
            Conditii->setPlainText(text.left(ConditionsLength));
            Conditii->moveCursor(QTextCursor::End);
        }
    });
    AdoptDialogKeys(this);
    resize(1200, 660);
}

TAddCerere::~TAddCerere()
{
    // Closed with the program while open: nothing of the entry stays behind.
    if (!saved_)
        DropWorkingTables(tables_);
}

QWidget *TAddCerere::makeRequestTab()
{
    auto *page = new QWidget;
    Nr = Label(QString(), page, true);
    Nr->setObjectName(QStringLiteral("Nr"));
    DataC = DateField(page, "DataC");
    NrDosar = TextField(page, "NrDosar", 12, LetterCase::Upper, 14);
    NrDosar->setToolTip(QStringLiteral("Numarul de inregistrare in Registrul primariei"));
    TipPFV = ListField(page, "TipPFV", PersonKinds, false);
    NrV = Label(QStringLiteral("0"), page, true);
    NrV->setObjectName(QStringLiteral("NrV"));
    Litigii = ListField(page, "Litigii", YesNo, false);
    Grevat = ListField(page, "Grevat", YesNo, false);
    FaraContr = ListField(page, "FaraContr", YesNo, false);
    for (QComboBox *box : {Litigii, Grevat, FaraContr})
        box->setMinimumContentsLength(4);
    Conditii = new QPlainTextEdit(page);
    Conditii->setObjectName(QStringLiteral("Conditii"));
    Conditii->setTabChangesFocus(true);
    Conditii->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Conditii->setMinimumHeight(110);

    auto *grid = new QGridLayout(page);
    grid->setColumnMinimumWidth(0, 250);
    const auto row = [grid, page](int r, const QString &text, QWidget *field) {
        QLabel *label = Label(text, page);
        label->setBuddy(field);
        grid->addWidget(label, r, 0);
        grid->addWidget(field, r, 1, Qt::AlignLeft);
    };
    row(0, QStringLiteral("Numar cerere"), Nr);
    row(1, QStringLiteral("din data"), DataC);
    row(2, QStringLiteral("Numar Dosar *"), NrDosar);
    grid->addWidget(heading(QStringLiteral("Vanzator"), page), 3, 0, 1, 2);
    row(4, QStringLiteral("Tip persoana"), TipPFV);
    row(5, QStringLiteral("Numar vanzatori"), NrV);
    row(6, QStringLiteral("Terenul face obiectul unor litigii"), Litigii);
    row(7, QStringLiteral("Terenul este grevat de sarcini"), Grevat);
    row(8, QStringLiteral("Fara contract - in pronuntare"), FaraContr);
    grid->addWidget(Label(QStringLiteral("Conditii de vanzare"), page, true), 9, 0, 1, 2);
    grid->addWidget(Conditii, 10, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(10, 1);
    return page;
}

QWidget *TAddCerere::makeSellerTab()
{
    auto *page = new QWidget;
    Vx = new BandedGrid(SellerGridColumns(), page);
    Vx->setObjectName(QStringLiteral("Vx"));
    AddVanzB = button(QStringLiteral("Adauga Vanzator"), "AddVanzB", page);
    EditVanzB = button(QStringLiteral("Modifica Vanzator"), "EditVanzB", page);
    DelVanzB = button(QStringLiteral("Sterge Vanzator"), "DelVanzB", page);
    AddAllB = button(QStringLiteral("Pune pe Ultimii introdusi"), "AddAllB", page);
    AddAllB->setToolTip(QStringLiteral("Copie Vanzatorii de la Ultima Cerere intodusa."));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {AddVanzB, EditVanzB, DelVanzB})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(AddAllB);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(heading(QStringLiteral("Lista vanzatorilor"), page));
    layout->addWidget(Vx, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget *TAddCerere::makeLandTab()
{
    auto *page = new QWidget;
    Supraf = NumberField(page, "Supraf", 4, 6, 11);
    setBold(Supraf);
    Cota1 = NumberField(page, "Cota1", 6, 0, 6);
    Cota2 = NumberField(page, "Cota2", 4, 6, 11);
    CotaParteS = NumberField(page, "CotaParteS", 4, 6, 11);
    Pret = NumberField(page, "Pret", 10, 2, 13);
    setBold(Pret);
    NrCAD = TextField(page, "NrCAD", 80, LetterCase::Upper, 40);
    NrCarte = TextField(page, "NrCarte", 80, LetterCase::Upper, 40);
    Tarla = TextField(page, "Tarla", 30, LetterCase::Upper, 30);
    NrTarla = TextField(page, "NrTarla", 20, LetterCase::AsTyped, 20);
    NrParc = TextField(page, "NrParc", 100, LetterCase::AsTyped, 40);
    Categ = ListField(page, "Categ", categories(), true, 240);
    Categ->setMinimumContentsLength(44);
    Categ->setCompleter(nullptr);
    Functionar = TextField(page, "Functionar", 32, LetterCase::Upper, 32);

    auto *grid = new QGridLayout(page);
    grid->addWidget(heading(QStringLiteral("Teren"), page), 0, 0, 1, 2);
    const auto row = [grid, page](int r, const QString &text, QWidget *field, int span = 6) {
        QLabel *label = Label(text, page);
        label->setBuddy(field);
        grid->addWidget(label, r, 0);
        grid->addWidget(field, r, 1, 1, span, Qt::AlignLeft);
    };
    row(1, QStringLiteral("Suprafata  (ha)"), Supraf, 1);
    QLabel *shareLabel = Label(QStringLiteral("Cota - parte"), page);
    shareLabel->setBuddy(Cota1);
    grid->addWidget(shareLabel, 2, 0);
    grid->addWidget(Cota1, 2, 1);
    grid->addWidget(Label(QStringLiteral("/"), page, true), 2, 2);
    grid->addWidget(Cota2, 2, 3);
    grid->addWidget(Label(QStringLiteral("reprezentand"), page), 2, 4);
    grid->addWidget(CotaParteS, 2, 5);
    grid->addWidget(Label(QStringLiteral("ha."), page), 2, 6);
    row(3, QStringLiteral("Pret (lei)"), Pret, 1);
    row(4, QStringLiteral("Numar cadastral"), NrCAD);
    row(5, QStringLiteral("Nr.carte funciara"), NrCarte);
    row(6, QStringLiteral("Denumire Tarla"), Tarla);
    row(7, QStringLiteral("Numar Tarla"), NrTarla);
    row(8, QStringLiteral("Numar Parcela"), NrParc);
    row(9, QStringLiteral("Categoria"), Categ);
    row(10, QStringLiteral("Functionar public"), Functionar);
    grid->setColumnStretch(7, 1);
    grid->setRowStretch(11, 1);
    return page;
}

QWidget *TAddCerere::makeHolderTab()
{
    auto *page = new QWidget;
    Px = new BandedGrid(HolderGridColumns(), page);
    Px->setObjectName(QStringLiteral("Px"));
    AddB = button(QStringLiteral("Adauga Preemptor"), "AddB", page);
    EditB = button(QStringLiteral("Modifica Preemptor"), "EditB", page);
    DelB = button(QStringLiteral("Sterge Preemptor"), "DelB", page);
    AddAllPreB = button(QStringLiteral("Copie din alta Cerere"), "AddAllPreB", page);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {AddB, EditB, DelB})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(AddAllPreB);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(heading(QStringLiteral("Lista preemptorilor"), page));
    layout->addWidget(Px, 1);
    layout->addLayout(buttons);
    return page;
}

QList<QWidget *> TAddCerere::enterOrder(int tab) const
{
    switch (tab) {
    case CerereTab:
        return {DataC, NrDosar, TipPFV, Litigii, Grevat, FaraContr, Conditii};
    case VanzatoriTab:
        return {Vx, AddVanzB, EditVanzB, DelVanzB, AddAllB};
    case TerenTab:
        return {Supraf, Cota1, Cota2, CotaParteS, Pret, NrCAD, NrCarte, Tarla, NrTarla, NrParc, Categ, Functionar};
    case PreemptoriTab:
        return {Px, AddB, EditB, DelB, AddAllPreB};
    }
    return {};
}

Prompter &TAddCerere::prompter() const
{
    return PrompterOr(prompter_);
}

void TAddCerere::guarded(const std::function<void()> &step)
{
    RunReported(prompter(), step);
}

bool TAddCerere::ShareIsValid() const
{
    return ::ShareIsValid(Cota1->text(), Cota2->text());
}

double TAddCerere::ShareFraction() const
{
    return ::ShareFraction(Cota1->text(), Cota2->text());
}

QString TAddCerere::ShareText()
{
    const ShareFields fields = NormalisedShare(Cota1->text(), Cota2->text());
    // setText fires SuprafChange only when the text really changes.
    if (Cota1->text() != fields.numerator)
        Cota1->setText(fields.numerator);
    if (Cota2->text() != fields.denominator)
        Cota2->setText(fields.denominator);
    return ::ShareText(fields);
}

void TAddCerere::SetShareText(const QString &text)
{
    const ShareFields fields = ParseShareText(text);
    Cota1->setText(fields.numerator);
    Cota2->setText(fields.denominator);
}

void TAddCerere::SuprafChange()
{
    CotaParteS->setText(ShareSurfaceText(Supraf->text(), Cota1->text(), Cota2->text()));
}

void TAddCerere::ResetRequestFields()
{
    DataC->setDate(QDate::currentDate());
    Supraf->setText(QStringLiteral("0"));
    Cota1->setText(QStringLiteral("1"));
    Cota2->setText(QStringLiteral("1"));
    CotaParteS->setText(QStringLiteral("0"));
    FaraContr->setCurrentText(QStringLiteral("NU"));
    Pret->setText(QStringLiteral("0"));
    NrCAD->setText(QStringLiteral("0"));
    NrCarte->setText(QStringLiteral("0"));
    Tarla->clear();
    NrTarla->clear();
    NrParc->clear();
    Categ->setCurrentIndex(0);
    Categ->setEditText(QStringLiteral("Teren arabil"));
    Functionar->setText(ReadSetting(session().workstationUser, QStringLiteral("FUNCTIONAR")));
    Nr->setText(PeekNextNumber(NumberingType() == 1 ? QStringLiteral("NR") : QStringLiteral("NR2")));
    NrDosar->clear();
}

void TAddCerere::showRequestFields(const RequestFields &f)
{
    Nr->setText(f.nr);
    NrDosar->setText(f.nrDosar);
    if (f.dataC.isValid())
        DataC->setDate(f.dataC);
    SelectComboItem(TipPFV, f.tipPF);
    Supraf->setText(f.supraf);
    CotaParteS->setText(f.cotaParteS);
    SelectComboItem(FaraContr, f.faraContr);
    Pret->setText(f.pret);
    NrCAD->setText(f.nrCad);
    NrCarte->setText(f.nrCarte);
    Tarla->setText(f.tarla);
    NrTarla->setText(f.nrTarla);
    NrParc->setText(f.nrParc);
    Categ->setEditText(f.categ);
    Functionar->setText(f.functionar);
    NrV->setText(f.nrV);
    SelectComboItem(Litigii, f.litigii);
    SelectComboItem(Grevat, f.grevat);
    Conditii->setPlainText(f.conditii.trimmed());
}

void TAddCerere::fillFromRequest(const RequestFields &fields, const QString &storedShare)
{
    showRequestFields(fields);
    // The share after the surface, then the stored share surface as it was.
    SetShareText(storedShare);
    CotaParteS->setText(fields.cotaParteS);
}

RequestFields TAddCerere::requestFields() const
{
    RequestFields f;
    f.nr = Nr->text();
    f.dataC = DataC->date();
    f.nrDosar = NrDosar->text();
    f.tipPF = TipPFV->currentText();
    f.nrV = NrV->text();
    f.litigii = Litigii->currentText();
    f.grevat = Grevat->currentText();
    f.faraContr = FaraContr->currentText();
    f.conditii = Conditii->toPlainText();
    f.supraf = Supraf->text();
    f.cota1 = Cota1->text();
    f.cota2 = Cota2->text();
    f.cotaParteS = CotaParteS->text();
    f.pret = Pret->text();
    f.nrCad = NrCAD->text();
    f.nrCarte = NrCarte->text();
    f.tarla = Tarla->text();
    f.nrTarla = NrTarla->text();
    f.nrParc = NrParc->text();
    f.categ = Categ->currentText();
    f.functionar = Functionar->text();
    return f;
}

void TAddCerere::openSellerGrid(const QVariant &idv, bool last)
{
    Vx->setQuery(sqlstore::database().query(QStringLiteral("SELECT * FROM \"") + tables_.sellers
                                            + QStringLiteral("\" ORDER BY NRCRT")));
    if (last)
        Vx->setCurrentRow(Vx->rowCount() - 1);
    else if (idv.isValid())
        Vx->locate(QStringLiteral("IDV"), idv);
    SetButV();
}

void TAddCerere::openHolderGrid(const QVariant &idp, bool last)
{
    Px->setQuery(sqlstore::database().query(QStringLiteral("SELECT * FROM \"") + tables_.holders
                                            + QStringLiteral("\" ORDER BY RANG, NUME")));
    if (last)
        Px->setCurrentRow(Px->rowCount() - 1);
    else if (idp.isValid())
        Px->locate(QStringLiteral("IDP"), idp);
    SetBut();
}

void TAddCerere::SetBut()
{
    const bool lines = Px->rowCount() > 0;
    EditB->setEnabled(lines);
    DelB->setEnabled(lines);
}

void TAddCerere::SetButV()
{
    const bool lines = Vx->rowCount() > 0;
    EditVanzB->setEnabled(lines);
    DelVanzB->setEnabled(lines);
}

bool TAddCerere::OpenRequestDialog(const QString &requestId, bool mayChangeHolders)
{
    requestId_ = requestId;
    mayChangeHolders_ = mayChangeHolders;
    saved_ = false;
    holderCount_ = 0;
    DropWorkingTables(tables_);
    try {
        tables_ = CreateWorkingTables(requestId);
        if (requestId != QLatin1String("-1")) {
            TitleL->setText(QStringLiteral("Modificare Cerere"));
        } else {
            TitleL->setText(QStringLiteral("Adaugare Cerere"));
            ResetRequestFields();
            NrV->setText(QStringLiteral("0"));
            for (QComboBox *box : {Litigii, Grevat, FaraContr})
                box->setCurrentText(QStringLiteral("NU"));
            Conditii->clear();
            const int kind = int(ReadSettingNumber(QStringLiteral("TEMP"), QStringLiteral("TIPPFV")) / 10000);
            TipPFV->setCurrentIndex(kind == 1 ? 1 : 0);
        }
        Px->queryModel()->setComputed(RequestGridComputed());
        openHolderGrid();
        openSellerGrid();
    } catch (const std::exception &e) {
        DropWorkingTables(tables_);
        prompter().Mesaj(QStringLiteral("Eroare"), QString::fromUtf8(e.what()), ButtonOk, KindError);
        return false;
    }
    Pages->setCurrentIndex(CerereTab);
    DataC->setFocus();
    if (requestId == QLatin1String("-1")) {
        // A new request always gets sellers: the earlier-seller list is read
        // while the clerk types the first fields, not when "Adauga Vanzator"
        // is pressed (it is kept until the seller table changes).
        QTimer::singleShot(PrefetchDelayMs, this, [this] {
            if (isVisible())
                RunReported(prompter(), [] { EarlierSellers(); });
        });
    }
    exec();
    Vx->setQuery(sqlstore::Query());
    Px->setQuery(sqlstore::Query());
    if (!saved_) {
        DropWorkingTables(tables_);
        return false;
    }
    return true;
}

void TAddCerere::DropTables()
{
    DropWorkingTables(tables_);
    saved_ = false;
}

void TAddCerere::MemoButClick()
{
    RequestFields f = requestFields();
    int sellerLines = 0;
    guarded([&] { sellerLines = SellerLineCount(tables_); });
    const auto reveal = [this](int tab, const QString &field) {
        Pages->setCurrentIndex(tab);
        if (QWidget *w = field.isEmpty() ? nullptr : findChild<QWidget *>(field))
            w->setFocus();
    };
    const CheckOutcome outcome = CheckRequest(f, sellerLines, prompter(), reveal);
    // The cleaned texts go back into the fields, as far as the checks ran.
    NrDosar->setText(f.nrDosar);
    Pret->setText(f.pret);
    NrCAD->setText(f.nrCad);
    NrCarte->setText(f.nrCarte);
    Tarla->setText(f.tarla);
    NrTarla->setText(f.nrTarla);
    NrParc->setText(f.nrParc);
    Functionar->setText(f.functionar);
    if (!outcome.passed) {
        if (outcome.tab >= 0)
            Pages->setCurrentIndex(outcome.tab);
        if (QWidget *field = outcome.field.isEmpty() ? nullptr : findChild<QWidget *>(outcome.field)) {
            field->setFocus();
            prompter().ShowProblem(outcome.problem, field);
        }
        return;
    }
    try {
        WriteSetting(session().workstationUser, QStringLiteral("FUNCTIONAR"), f.functionar);
        if (requestId_ == QLatin1String("-1"))
            WriteSettingNumber(QStringLiteral("TEMP"), QStringLiteral("TIPPFV"), qint64(TipPFV->currentIndex()) * 10000);
        holderCount_ = HolderLineCount(tables_);
    } catch (const std::exception &e) {
        prompter().Mesaj(QStringLiteral("Eroare"), QString::fromUtf8(e.what()), ButtonOk, KindError);
        return;
    }
    NrV->setText(f.nrV);
    Conditii->setPlainText(f.conditii);
    saved_ = true;
    accept();
}

void TAddCerere::AddVanzBClick()
{
    guarded([this] {
        if (!sellers_->EditSeller(true, TipPFV->currentText() == QLatin1String("FIZICA")))
            return;
        AddSellerLine(tables_, sellers_->sellerLine());
        openSellerGrid(QVariant(), true);
        NrV->setText(QString::number(Vx->rowCount()));
    });
}

// The line the grid stands on; false when it is empty.
template <class Line>
static bool currentLine(BandedGrid *grid, Line (*read)(const sqlstore::Query &), Line &line)
{
    const int row = grid->currentRow();
    if (row < 0)
        return false;
    sqlstore::Query &q = grid->queryModel()->query();
    q.seek(row);
    line = read(q);
    return true;
}

void TAddCerere::EditVanzBClick()
{
    SellerLine line;
    if (!currentLine(Vx, &SellerLineOf, line))
        return;
    guarded([this, &line] {
        sellers_->ClearSellerFields();
        sellers_->LoadSellerLine(line);
        if (!sellers_->EditSeller(false, TipPFV->currentText() == QLatin1String("FIZICA")))
            return;
        UpdateSellerLine(tables_, sellers_->sellerLine(line));
        openSellerGrid(line.idv);
    });
}

void TAddCerere::DelVanzBClick()
{
    SellerLine line;
    if (!currentLine(Vx, &SellerLineOf, line))
        return;
    guarded([this, &line] {
        if (!AskAndDeleteSellerLine(tables_, line, prompter()))
            return;
        openSellerGrid();
        NrV->setText(QString::number(Vx->rowCount()));
    });
}

void TAddCerere::AddAllBClick()
{
    guarded([this] {
        if (!CopyLastRequestSellers(tables_, requestId_, prompter()))
            return;
        openSellerGrid(QVariant(), true);
        NrV->setText(QString::number(Vx->rowCount()));
    });
}

void TAddCerere::AddBClick()
{
    if (!HolderChangeAllowed(HolderChange::Add, mayChangeHolders_, prompter()))
        return;
    holders_->setNameTaken([this](const QString &name, qlonglong exceptIdp) { return HolderNameExists(tables_, name, exceptIdp); });
    if (!holders_->EditHolder(QString(), this))
        return;
    guarded([this] {
        const qlonglong idp = AddHolderLine(tables_, holders_->holderLine(), requestId_);
        openHolderGrid(idp);
    });
}

void TAddCerere::EditBClick()
{
    HolderLine line;
    if (!currentLine(Px, &HolderLineOf, line))
        return;
    holders_->ClearHolderFields();
    holders_->LoadHolderLine(line);
    holders_->setNameTaken([this](const QString &name, qlonglong exceptIdp) { return HolderNameExists(tables_, name, exceptIdp); });
    if (!holders_->EditHolder(QString::number(line.idp), this))
        return;
    guarded([this, &line] {
        UpdateHolderLine(tables_, holders_->holderLine(line));
        openHolderGrid(line.idp);
    });
}

void TAddCerere::DelBClick()
{
    if (!HolderChangeAllowed(HolderChange::Delete, mayChangeHolders_, prompter()))
        return;
    HolderLine line;
    if (!currentLine(Px, &HolderLineOf, line))
        return;
    guarded([this, &line] {
        if (AskAndDeleteHolderLine(tables_, line, prompter()))
            openHolderGrid(QVariant(), true);
    });
}

void TAddCerere::AddAllPreBClick()
{
    if (!HolderChangeAllowed(HolderChange::Copy, mayChangeHolders_, prompter()))
        return;
    guarded([this] {
        QString chosen;
        if (!chooser_->ChooseSourceRequest(requestId_, chosen))
            return;
        CopyHolders(tables_, chosen);
        openHolderGrid(QVariant(), true);
    });
}
