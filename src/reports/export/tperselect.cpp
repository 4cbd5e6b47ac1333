#include "reports/export/tperselect.h"

#include "ui/tballoon.h"
#include "ui/dialogkeys.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDateEdit *datePicker(QWidget *parent, const char *name)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

TPerSelect::TPerSelect(QWidget *parent) : QDialog(parent)
{
    setObjectName("TPerSelect");
    setWindowTitle("Rapoarte");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    TitluL = new QLabel("Perioada in care expira", this);
    TitluL->setObjectName("TitluL");
    TitluL->setAlignment(Qt::AlignCenter);
    QFont bold = TitluL->font();
    bold.setBold(true);
    TitluL->setFont(bold);
    Data0 = datePicker(this, "Data0");
    Data1 = datePicker(this, "Data1");
    MemoBut = new QPushButton("&Am ales", this);
    MemoBut->setObjectName("MemoBut");
    RenuntB = new QPushButton("&Renunt", this);
    RenuntB->setObjectName("RenuntB");
    connect(MemoBut, &QPushButton::clicked, this, &TPerSelect::MemoButClick);
    connect(RenuntB, &QPushButton::clicked, this, &QDialog::reject);

    auto *fields = new QFormLayout;
    fields->addRow("incepand cu", Data0);
    fields->addRow("pana la", Data1);
    auto *footer = new QHBoxLayout;
    footer->addStretch();
    footer->addWidget(MemoBut);
    footer->addWidget(RenuntB);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TitluL);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(footer);
    setFixedSize(300, 160);

    AdoptDialogKeys(this);
    FormCreate();
}

void TPerSelect::FormCreate()
{
    // addMonths clamps to the last day of a shorter month (31 March -> 29 February).
    const QDate today = QDate::currentDate();
    Data1->setDate(today);
    Data0->setDate(today.addMonths(-1));
}

bool TPerSelect::AskPeriod(const QString &title)
{
    TitluL->setText(title);
    Data0->setFocus();
    return exec() == QDialog::Accepted;
}

void TPerSelect::MemoButClick()
{
    if (Data1->date() < Data0->date()) {
        ShowProblem("Perioada incorecta!", Data1);
        return;
    }
    accept();
}

TPerSelect &periodDialog()
{
    static TPerSelect *dialog = new TPerSelect;
    return *dialog;
}
