#include "dialogs/taltivanz.h"

#include "admin/administration.h"
#include "datastore/settings.h"
#include "dialogs/cnprules.h"
#include "dialogs/dialogparts.h"
#include "dialogs/requestchecks.h"
#include "dialogs/tcnpedit.h"
#include "dialogs/tnumericf.h"
#include "platform/prompter.h"
#include "ui/combohelpers.h"
#include "ui/dialogkeys.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include <QScopedValueRollback>

using namespace dialogparts;

namespace {

const QStringList IdentityDocuments = {QStringLiteral("CI"), QStringLiteral("BI")};

QDate shownDate(const QDate &stored)
{
    return stored.isValid() ? stored : ZeroDate();
}

QDate storedDate(const QDate &shown)
{
    return shown == ZeroDate() ? QDate() : shown;
}

int administrationCounty()
{
    return int(ReadSettingNumber(QStringLiteral("CONST"), QStringLiteral("JUDET")) / 10000);
}

void selectIndex(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

// A document kind or county typed or chosen in an editable list: its text.
QString listText(const QComboBox *box)
{
    return box->currentText();
}

} // namespace

TAltiVanz::TAltiVanz(QWidget *parent, Prompter *prompter)
    : QDialog(parent)
    , prompter_(prompter)
{
    setObjectName(QStringLiteral("TAltiVanz"));
    setWindowTitle(QStringLiteral("Cerere"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QWidget *header = HeaderBand(this, &TitleL);
    auto *seller = new QFrame(this);
    seller->setFrameShape(QFrame::StyledPanel);
    Vanzator = ListField(seller, "Vanzator", {}, true, 80, LetterCase::Upper);
    Vanzator->setCompleter(nullptr);
    Vanzator->setMinimumContentsLength(40);
    CNPCUI = TextField(seller, "CNPCUI", 13, LetterCase::Upper, 15);
    LocV = TextField(seller, "LocV", 32, LetterCase::Upper, 24);
    Adresa = TextField(seller, "Adresa", 120, LetterCase::AsTyped, 50);
    Judet = ListField(seller, "Judet", CountyNames(), true, 32, LetterCase::Upper);
    BI = ListField(seller, "BI", IdentityDocuments, true, 4, LetterCase::Upper);
    BI->setMinimumContentsLength(4);
    BISeria = TextField(seller, "BISeria", 4, LetterCase::Upper, 5);
    BINR = TextField(seller, "BINR", 10, LetterCase::Upper, 11);
    BIElib = TextField(seller, "BIElib", 40, LetterCase::Upper, 30);
    BIData = DateField(seller, "BIData");
    Tel = TextField(seller, "Tel", 14, LetterCase::Upper, 15);
    ClearAllB = new QPushButton(QStringLiteral("Sterge valorile"), this);
    ClearAllB->setObjectName(QStringLiteral("ClearAllB"));
    ClearAllB->setAutoDefault(false);
    // Outside the Enter walk, so Enter never empties the fields by accident.
    ClearAllB->setFocusPolicy(Qt::ClickFocus);

    auto *mandatary = new QFrame(this);
    mandatary->setFrameShape(QFrame::StyledPanel);
    Mandatar = TextField(mandatary, "Mandatar", 80, LetterCase::Upper, 40);
    MCalitate = ListField(mandatary, "MCalitate", {}, true, 80, LetterCase::Lower);
    MCalitate->setMinimumContentsLength(20);
    MConform = TextField(mandatary, "MConform", 80, LetterCase::AsTyped, 30);
    MCNPCUI = new TCNPEdit(mandatary);
    MCNPCUI->setObjectName(QStringLiteral("MCNPCUI"));
    WidthForChars(MCNPCUI, 15);
    MLocV = TextField(mandatary, "MLocV", 32, LetterCase::Upper, 24);
    MAdresa = TextField(mandatary, "MAdresa", 120, LetterCase::AsTyped, 50);
    MJudet = ListField(mandatary, "MJudet", CountyNames(), false);
    MCodPost = NumberField(mandatary, "MCodPost", 10, 0, 10);
    MBI = ListField(mandatary, "MBI", IdentityDocuments, true, 4, LetterCase::Upper);
    MBI->setMinimumContentsLength(4);
    MBISeria = TextField(mandatary, "MBISeria", 4, LetterCase::Upper, 5);
    MBINr = TextField(mandatary, "MBINr", 10, LetterCase::Upper, 11);
    MBIElib = TextField(mandatary, "MBIElib", 40, LetterCase::Upper, 30);
    MBIData = DateField(mandatary, "MBIData");
    Mtel = TextField(mandatary, "Mtel", 14, LetterCase::Upper, 15);

    // The identity document, the codes and the telephones in bold, as the
    // clerk checks them against the papers.
    for (QWidget *w : QList<QWidget *>{CNPCUI, BI, BISeria, BINR, BIElib, Tel, MBI, MBISeria, MBINr, MBIElib, Mtel}) {
        QFont f = w->font();
        f.setBold(true);
        w->setFont(f);
    }
    // The short fields keep their own width instead of stretching.
    for (QWidget *w : QList<QWidget *>{BI, BISeria, MBI, MBISeria})
        w->setMaximumWidth(w->minimumSizeHint().width() + 40);

    const auto addRow = [](QGridLayout *grid, int row, QList<std::pair<QString, QWidget *>> cells, int lastSpan = 1) {
        int column = 0;
        for (int i = 0; i < cells.size(); ++i) {
            QLabel *label = Label(cells[i].first, grid->parentWidget());
            label->setBuddy(cells[i].second);
            grid->addWidget(label, row, column, Qt::AlignRight);
            const int span = i + 1 == cells.size() ? lastSpan : 1;
            grid->addWidget(cells[i].second, row, column + 1, 1, span);
            column += 1 + span;
        }
    };
    auto *sg = new QGridLayout(seller);
    addRow(sg, 0, {{QStringLiteral("Nume si prenume"), Vanzator}}, 5);
    addRow(sg, 1, {{QStringLiteral("CNP / CUI"), CNPCUI}, {QStringLiteral("Localitatea"), LocV}}, 3);
    addRow(sg, 2, {{QStringLiteral("Adresa"), Adresa}}, 5);
    addRow(sg, 3, {{QStringLiteral("Judetul"), Judet}});
    addRow(sg, 4, {{QStringLiteral("Act de identitate"), BI}, {QStringLiteral("Seria"), BISeria}, {QStringLiteral("Nr."), BINR}});
    addRow(sg, 5, {{QStringLiteral("eliberat de"), BIElib}, {QStringLiteral("la data"), BIData}});
    addRow(sg, 6, {{QStringLiteral("Telefon"), Tel}});
    sg->setColumnStretch(5, 1);

    auto *mg = new QGridLayout(mandatary);
    addRow(mg, 0, {{QStringLiteral("Nume si prenume"), Mandatar}}, 5);
    addRow(mg, 1, {{QStringLiteral("in calitate de"), MCalitate}, {QStringLiteral("conform"), MConform}}, 3);
    addRow(mg, 2, {{QStringLiteral("CNP / CUI"), MCNPCUI}, {QStringLiteral("Localitatea"), MLocV}}, 3);
    addRow(mg, 3, {{QStringLiteral("Adresa"), MAdresa}}, 5);
    addRow(mg, 4, {{QStringLiteral("Judetul"), MJudet}, {QStringLiteral("Cod postal"), MCodPost}});
    addRow(mg, 5, {{QStringLiteral("Act de identitate"), MBI}, {QStringLiteral("Seria"), MBISeria}, {QStringLiteral("Nr."), MBINr}});
    addRow(mg, 6, {{QStringLiteral("eliberat de"), MBIElib}, {QStringLiteral("la data"), MBIData}});
    addRow(mg, 7, {{QStringLiteral("Telefon"), Mtel}});
    mg->setColumnStretch(5, 1);

    auto *clearRow = new QHBoxLayout;
    clearRow->addStretch();
    clearRow->addWidget(ClearAllB);
    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(Label(QStringLiteral("Vanzator"), this, true));
    layout->addWidget(seller);
    layout->addLayout(clearRow);
    layout->addWidget(Label(QStringLiteral(" Prin :"), this, true));
    layout->addWidget(mandatary);
    layout->addLayout(footer);

    QList<QWidget *> order = enterOrder();
    order << MemoBut << RenuntBut;
    ChainTabOrder(order);

    connect(MemoBut, &QPushButton::clicked, this, &TAltiVanz::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(ClearAllB, &QPushButton::clicked, this, &TAltiVanz::ClearAllClick);
    connect(Vanzator, &QComboBox::activated, this, &TAltiVanz::VanzatorChange);
    AdoptDialogKeys(this);
}

QList<QWidget *> TAltiVanz::enterOrder() const
{
    return {Vanzator, CNPCUI,   LocV,     Adresa,   Judet,    BI,       BISeria, BINR,    BIElib,
            BIData,   Tel,      Mandatar, MCalitate, MConform, MCNPCUI, MLocV,   MAdresa, MJudet,
            MCodPost, MBI,      MBISeria, MBINr,    MBIElib,  MBIData,  Mtel};
}

void TAltiVanz::fillMandataryCapacities()
{
    MCalitate->clear();
    MCalitate->addItems(MandataryCapacities());
    MCalitate->setCurrentIndex(-1);
    MCalitate->setEditText(QString());
}

void TAltiVanz::ClearSellerFields()
{
    QScopedValueRollback<bool> filling(filling_, true);
    for (QLineEdit *e : {CNPCUI, LocV, Adresa, BISeria, BINR, BIElib, Tel, Mandatar, MConform,
                         static_cast<QLineEdit *>(MCNPCUI), MLocV, MAdresa, MBISeria, MBINr, MBIElib, Mtel})
        e->clear();
    MCodPost->setText(QString());
    for (QComboBox *box : {Vanzator, BI, MBI}) {
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
    selectIndex(Judet, administrationCounty());
    selectIndex(MJudet, administrationCounty());
    BIData->setDate(QDate::currentDate());
    MBIData->setDate(QDate::currentDate());
    fillMandataryCapacities();
}

void TAltiVanz::ClearAllClick()
{
    RunReported(PrompterOr(prompter_), [this] { ClearSellerFields(); });
}

void TAltiVanz::showLine(const SellerLine &l, bool countiesByItem)
{
    Vanzator->setEditText(l.vanzator);
    CNPCUI->setText(l.cnpcui);
    LocV->setText(l.locv);
    Adresa->setText(l.adresa);
    if (countiesByItem) {
        SelectComboItem(Judet, l.judet);
        SelectComboItem(BI, l.bi);
    } else {
        Judet->setEditText(l.judet);
        BI->setEditText(l.bi);
    }
    BISeria->setText(l.biseria);
    BINR->setText(l.binr);
    BIElib->setText(l.bielib);
    BIData->setDate(shownDate(l.bidata));
    Tel->setText(l.tel);
    Mandatar->setText(l.mandatar);
    MCalitate->setEditText(l.mcalitate);
    MConform->setText(l.mconform);
    MCNPCUI->setText(l.mcnpcui);
    MLocV->setText(l.mlocv);
    MAdresa->setText(l.madresa);
    SelectComboItem(MJudet, l.mjudet);
    MCodPost->setText(l.mcodpost);
    if (countiesByItem)
        SelectComboItem(MBI, l.mbi);
    else
        MBI->setEditText(l.mbi);
    MBISeria->setText(l.mbiseria);
    MBINr->setText(l.mbinr);
    MBIElib->setText(l.mbielib);
    MBIData->setDate(shownDate(l.mbidata));
    Mtel->setText(l.mtel);
}

void TAltiVanz::LoadSellerLine(const SellerLine &line)
{
    QScopedValueRollback<bool> filling(filling_, true);
    showLine(line, false);
}

SellerLine TAltiVanz::sellerLine(const SellerLine &base) const
{
    SellerLine l = base;
    l.vanzator = Vanzator->currentText();
    l.cnpcui = CNPCUI->text();
    l.locv = LocV->text();
    l.adresa = Adresa->text();
    l.judet = listText(Judet);
    l.bi = listText(BI);
    l.biseria = BISeria->text();
    l.binr = BINR->text();
    l.bielib = BIElib->text();
    l.bidata = storedDate(BIData->date());
    l.tel = Tel->text();
    l.mandatar = Mandatar->text();
    l.mcalitate = MCalitate->currentText();
    l.mconform = MConform->text();
    l.mcnpcui = MCNPCUI->text();
    l.mlocv = MLocV->text();
    l.madresa = MAdresa->text();
    l.mjudet = MJudet->currentText();
    l.mcodpost = MCodPost->text();
    l.mbi = listText(MBI);
    l.mbiseria = MBISeria->text();
    l.mbinr = MBINr->text();
    l.mbielib = MBIElib->text();
    l.mbidata = storedDate(MBIData->date());
    l.mtel = Mtel->text();
    return l;
}

void TAltiVanz::loadEarlierSellers()
{
    QScopedValueRollback<bool> filling(filling_, true);
    const QString typed = Vanzator->currentText();
    earlier_ = EarlierSellers();
    QStringList names;
    names.reserve(earlier_.size());
    for (const EarlierSeller &s : earlier_)
        names << s.name;
    // A plain list model: tens of thousands of names go in at once. The
    // combo box deletes the model it owned before.
    Vanzator->setModel(new QStringListModel(names, Vanzator));
    Vanzator->setCurrentIndex(-1);
    Vanzator->setEditText(typed);
}

void TAltiVanz::showLastSeller()
{
    QScopedValueRollback<bool> filling(filling_, true);
    const LastSeller last = ReadLastSeller();
    showLine(last.line, true);
    selectIndex(Judet, last.judet);
    selectIndex(MJudet, last.mjudet);
    if (MCalitate->count() == 0) {
        fillMandataryCapacities();
        MCalitate->setEditText(last.line.mcalitate);
    }
}

void TAltiVanz::VanzatorChange(int index)
{
    if (filling_ || index < 0 || index >= earlier_.size())
        return;
    SellerLine line;
    bool found = false;
    RunReported(PrompterOr(prompter_), [&] { found = SellerLineById(earlier_.at(index).idv, line); });
    if (!found)
        return;
    QScopedValueRollback<bool> filling(filling_, true);
    const QString name = Vanzator->itemText(index);
    showLine(line, true);
    Vanzator->setCurrentIndex(index);
    Vanzator->setEditText(name);
}

bool TAltiVanz::EditSeller(bool add, bool naturalPerson)
{
    saved_ = false;
    filling_ = false;
    add_ = add;
    naturalPerson_ = naturalPerson;
    // Without its lists the dialog does not open; the reason is shown.
    if (!RunReported(PrompterOr(prompter_), [this, add] {
            loadEarlierSellers();
            if (add)
                showLastSeller();
        }))
        return false;
    TitleL->setText(add ? QStringLiteral("Adaugare Vanzator") : QStringLiteral("Modificare Vanzator"));
    Vanzator->setFocus();
    exec();
    if (add && saved_) {
        LastSeller last;
        last.line = sellerLine();
        last.judet = std::max(0, Judet->findText(Judet->currentText(), Qt::MatchFixedString));
        last.mjudet = std::max(0, MJudet->currentIndex());
        // The line is saved even when the memory cannot be written.
        RunReported(PrompterOr(prompter_), [&last] { WriteLastSeller(last); });
    }
    return saved_;
}

void TAltiVanz::MemoButClick()
{
    SellerLine line = sellerLine();
    const CheckOutcome outcome = CheckSellerLine(line, naturalPerson_);
    {
        // The cleaned texts go back into the fields, as far as the checks ran.
        QScopedValueRollback<bool> filling(filling_, true);
        showLine(line, false);
    }
    if (!outcome.passed) {
        QWidget *field = findChild<QWidget *>(outcome.field);
        field->setFocus();
        PrompterOr(prompter_).ShowProblem(outcome.problem, field);
        return;
    }
    saved_ = true;
    accept();
}
