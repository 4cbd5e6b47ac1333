#include "dialogs/taddaltact.h"

#include "datastore/listhelpers.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "dialogs/answerchecks.h"
#include "dialogs/cnprules.h"
#include "dialogs/dialogparts.h"
#include "platform/prompter.h"
#include "ui/combohelpers.h"
#include "ui/dialogkeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace dialogparts;

namespace {

const QString Incoming = QStringLiteral("intrare");
const QString Outgoing = QStringLiteral("iesire");

// The stored dispatch dates up to this day mean "none".
constexpr qint64 kLastNoDispatchDay = 10000;

QStringList actTypes(const QString &direction)
{
    return FillDistinctList(TablePath(QStringLiteral("AlteActe.dbf")), QStringLiteral("MODUL=?"),
                            QStringLiteral("TIPACT"), {direction});
}

} // namespace

TAddAltAct::TAddAltAct(QWidget *parent, Prompter *prompter)
    : QDialog(parent)
    , prompter_(prompter)
{
    setObjectName(QStringLiteral("TAddAltAct"));
    setWindowTitle(QStringLiteral("Alte Acte"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QWidget *header = HeaderBand(this, &TitleL);
    NrL = Label(QString(), this, true);
    NrL->setObjectName(QStringLiteral("NrL"));
    DataA = DateField(this, "DataA");
    DataExpOk = new QCheckBox(this);
    DataExpOk->setObjectName(QStringLiteral("DataExpOk"));
    DataExpL = Label(QStringLiteral("Data expedierii"), this);
    DataExpL->setBuddy(DataExpOk);
    DataExp = DateField(this, "DataExp");
    Modul = ListField(this, "Modul", {Incoming, Outgoing}, false);
    Emitent = TextField(this, "Emitent", 80, LetterCase::Upper, 50);
    Destinatar = TextField(this, "Destinatar", 80, LetterCase::AsTyped, 50);
    TipAct = ListField(this, "TipAct", {}, true, 80, LetterCase::Upper);
    TipAct->setMinimumContentsLength(40);
    // The known types drop down while the clerk types.
    TipAct->completer()->setCompletionMode(QCompleter::PopupCompletion);
    TipAct->completer()->setFilterMode(Qt::MatchStartsWith);
    Detalii = TextField(this, "Detalii", 80, LetterCase::AsTyped, 50);
    for (QWidget *w : QList<QWidget *>{Emitent, Destinatar, TipAct})
        MarkRequired(w, true);

    auto *grid = new QGridLayout;
    const auto row = [this, grid](int r, const QString &text, QWidget *field, int span = 3) {
        QLabel *l = Label(text, this);
        l->setBuddy(field);
        grid->addWidget(l, r, 0, Qt::AlignRight);
        grid->addWidget(field, r, 1, 1, span);
    };
    grid->addWidget(Label(QStringLiteral("Numar Act"), this), 0, 0, Qt::AlignRight);
    grid->addWidget(NrL, 0, 1);
    row(1, QStringLiteral("din data"), DataA, 1);
    auto *dispatch = new QHBoxLayout;
    dispatch->addWidget(DataExpOk);
    dispatch->addWidget(DataExpL);
    dispatch->addWidget(DataExp);
    dispatch->addStretch();
    grid->addLayout(dispatch, 1, 2, 1, 2);
    row(2, QStringLiteral("Modul"), Modul, 1);
    row(3, QStringLiteral("Emitent"), Emitent);
    row(4, QStringLiteral("Destinatar"), Destinatar);
    row(5, QStringLiteral("Tip Act"), TipAct);
    row(6, QStringLiteral("Detalii"), Detalii);
    grid->setColumnStretch(3, 1);

    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(footer);

    QList<QWidget *> order = enterOrder();
    order << MemoBut << RenuntBut;
    ChainTabOrder(order);

    connect(MemoBut, &QPushButton::clicked, this, &TAddAltAct::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(Modul, &QComboBox::currentIndexChanged, this, &TAddAltAct::ModulChange);
    connect(DataExpOk, &QCheckBox::clicked, this, &TAddAltAct::DataExpOkClick);
    AdoptDialogKeys(this);
    DataExp->setVisible(false);
}

QList<QWidget *> TAddAltAct::enterOrder() const
{
    return {DataA, DataExpOk, DataExp, Modul, Emitent, Destinatar, TipAct, Detalii};
}

void TAddAltAct::setNumber(const QString &nr)
{
    NrL->setText(nr);
}

void TAddAltAct::ClearActFields()
{
    DataA->setDate(QDate::currentDate());
    DataExp->setDate(QDate::currentDate());
    DataExp->setVisible(false);
    DataExpOk->setChecked(false);
    for (QLineEdit *e : {Emitent, Destinatar, Detalii})
        e->clear();
    unitName_ = ReadSetting(QStringLiteral("CONST"), QStringLiteral("UNITATE")).trimmed();
    incomingTypes_ = actTypes(Incoming);
    outgoingTypes_ = actTypes(Outgoing);
    ModulChange();
}

void TAddAltAct::ModulChange()
{
    const bool outgoing = Modul->currentText() == Outgoing;
    {
        const QSignalBlocker quiet(TipAct);
        TipAct->clear();
        AddComboItems(TipAct, outgoing ? outgoingTypes_ : incomingTypes_);
        TipAct->setCurrentIndex(-1);
        TipAct->setEditText(QString());
    }
    QLineEdit *unit = outgoing ? Emitent : Destinatar;
    QLineEdit *other = outgoing ? Destinatar : Emitent;
    unit->setText(unitName_);
    unit->setEnabled(false);
    other->setEnabled(true);
    other->clear();
    DataExpL->setVisible(outgoing);
    DataExpOk->setVisible(outgoing);
    if (outgoing) {
        DataExp->setVisible(DataExpOk->isChecked());
    } else {
        DataExp->setVisible(false);
    }
}

void TAddAltAct::DataExpOkClick()
{
    if (DataExpOk->isChecked())
        DataExp->setDate(QDate::currentDate());
    DataExp->setVisible(DataExpOk->isChecked());
}

void TAddAltAct::LoadOtherAct(const OtherActLine &l)
{
    SelectComboItem(Modul, l.modul);
    ModulChange();
    DataA->setDate(l.dataA);
    const bool dispatched = l.dataExp.isValid() && ZeroDate().daysTo(l.dataExp) > kLastNoDispatchDay;
    DataExpOk->setChecked(dispatched);
    DataExp->setDate(dispatched ? l.dataExp : QDate::currentDate());
    DataExp->setVisible(dispatched && DataExpOk->isVisibleTo(this));
    Emitent->setText(l.emitent);
    Destinatar->setText(l.destinatar);
    TipAct->setEditText(l.tipAct);
    Detalii->setText(l.detalii);
}

OtherActLine TAddAltAct::otherActLine() const
{
    OtherActLine l;
    l.dataA = DataA->date();
    l.dataExp = DataExp->date();
    l.modul = Modul->currentText();
    l.emitent = Emitent->text();
    l.destinatar = Destinatar->text();
    l.tipAct = TipAct->currentText();
    l.detalii = Detalii->text();
    return l;
}

bool TAddAltAct::EditOtherAct(bool add)
{
    saved_ = false;
    if (add) {
        TitleL->setText(QStringLiteral("Adaugare Act"));
        if (!RunReported(PrompterOr(prompter_), [this] { ClearActFields(); }))
            return false;
    } else {
        TitleL->setText(QStringLiteral("Modificare Act"));
    }
    adjustSize();
    for (QWidget *w : enterOrder()) {
        if (w->isVisibleTo(this) && w->isEnabled()) {
            w->setFocus();
            break;
        }
    }
    exec();
    incomingTypes_.clear();
    outgoingTypes_.clear();
    return saved_;
}

void TAddAltAct::MemoButClick()
{
    OtherActLine line = otherActLine();
    const bool dispatched = DataExpOk->isChecked() && DataExpOk->isVisibleTo(this);
    const CheckOutcome outcome = CheckOtherAct(line, dispatched);
    Emitent->setText(line.emitent);
    Destinatar->setText(line.destinatar);
    Detalii->setText(line.detalii);
    TipAct->setEditText(line.tipAct);
    if (!outcome.passed) {
        if (QWidget *field = findChild<QWidget *>(outcome.field)) {
            field->setFocus();
            PrompterOr(prompter_).ShowProblem(outcome.problem, field);
        }
        return;
    }
    if (!dispatched)
        DataExp->setDate(line.dataExp);
    saved_ = true;
    accept();
}
