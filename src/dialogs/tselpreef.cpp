#include "dialogs/tselpreef.h"

#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "dialogs/dialogparts.h"
#include "dialogs/requestgrids.h"
#include "dialogs/workingtables.h"
#include "ui/dialogkeys.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace dialogparts;

TSelPreeF::TSelPreeF(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TSelPreeF"));
    setWindowTitle(QStringLiteral("Preemptori din Cerere"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QWidget *header = HeaderBand(this, &TitleL);
    TitleL->setText(QStringLiteral("Alegeti Preemptorul din Comunicare"));
    Px = new BandedGrid({{QStringLiteral("Rang"), QStringLiteral("RANG")},
                         {QStringLiteral("Tip persoana"), QStringLiteral("TIPPF")},
                         {QStringLiteral("Nume si prenume / Denumire"), QStringLiteral("NUME")},
                         {QStringLiteral("Adresa"), QStringLiteral("ADRESA")},
                         {QStringLiteral("CNP / CIF"), QStringLiteral("CNP")}},
                        this);
    Px->setObjectName(QStringLiteral("Px"));
    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut, QStringLiteral("&Am ales"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(Px, 1);
    layout->addLayout(footer);
    connect(MemoBut, &QPushButton::clicked, this, &TSelPreeF::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(Px, &QAbstractItemView::doubleClicked, this, &TSelPreeF::MemoButClick);
    AdoptDialogKeys(this, DialogKey::EscCloses);
    resize(820, 420);
}

bool TSelPreeF::ChooseOpenHolder(const QString &requestId)
{
    saved_ = false;
    chosen_ = HolderLine();
    const qlonglong id = requestId.toLongLong();
    // A blank buyer or name is empty text here, as in the old tables, so a
    // communication without a buyer leaves out no holder.
    Px->setQuery(sqlstore::database().query(
        QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Preemptori.dbf"))
            + QStringLiteral(" WHERE ID=? AND NOT (COALESCE(NUME, '') IN (SELECT COALESCE(A.CUMPARATOR, '') FROM ")
            + QuotedTablePath(QStringLiteral("Comunicari.dbf")) + QStringLiteral(" A WHERE A.ID=?)) ORDER BY RANG, NUME"),
        {id, id}));
    PxAfterOpen();
    Px->setFocus();
    exec();
    Px->setQuery(sqlstore::Query());
    return saved_;
}

void TSelPreeF::PxAfterOpen()
{
    MemoBut->setEnabled(Px->rowCount() > 0);
}

void TSelPreeF::MemoButClick()
{
    const int row = Px->currentRow();
    if (row < 0)
        return;
    sqlstore::Query &q = Px->queryModel()->query();
    q.seek(row);
    chosen_ = HolderLineOf(q);
    saved_ = true;
    accept();
}
