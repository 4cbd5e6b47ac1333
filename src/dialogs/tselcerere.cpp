#include "dialogs/tselcerere.h"

#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "dialogs/dialogparts.h"
#include "dialogs/requestgrids.h"
#include "platform/prompter.h"
#include "ui/dialogkeys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

using namespace dialogparts;
using sqlstore::database;

TSelCerere::TSelCerere(QWidget *parent, Prompter *prompter)
    : QDialog(parent)
    , prompter_(prompter)
{
    setObjectName(QStringLiteral("TSelCerere"));
    setWindowTitle(QStringLiteral("Copiere Preemptori"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QWidget *header = HeaderBand(this, &TitleL);
    TitleL->setText(QStringLiteral("Alegeti o Cerere"));
    Ax = new BandedGrid(RequestGridColumns(), this);
    Ax->setObjectName(QStringLiteral("Ax"));
    Px = new BandedGrid(HolderGridColumns(), this);
    Px->setObjectName(QStringLiteral("Px"));
    Px->setFocusPolicy(Qt::NoFocus);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Ax);
    split->addWidget(Px);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut, QStringLiteral("&Am ales"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(split, 1);
    layout->addLayout(footer);
    connect(MemoBut, &QPushButton::clicked, this, &TSelCerere::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    connect(Ax, &BandedGrid::currentRowChanged, this, &TSelCerere::AxAfterScroll);
    connect(Ax, &QAbstractItemView::doubleClicked, this, &TSelCerere::MemoButClick);
    Ax->installEventFilter(this);
    // Esc closes; Enter in the request grid chooses (below).
    AdoptDialogKeys(this, DialogKey::EscCloses);
    resize(1100, 600);
}

bool TSelCerere::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Ax && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            MemoButClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TSelCerere::ChooseSourceRequest(const QString &requestId, QString &chosenId)
{
    chosenId_.clear();
    const QString order = NumberingType() == 1 ? QStringLiteral("A.NR") : QStringLiteral("A.NR2");
    Ax->queryModel()->setComputed(RequestGridComputed());
    Px->queryModel()->setComputed(RequestGridComputed());
    // Every request with its seller line number 1 (one row per request).
    Ax->setQuery(database().query(
        QStringLiteral("SELECT A.*, B.VANZATOR, B.CNPCUI, B.LOCV, B.ADRESA, B.JUDET, B.TEL, B.MANDATAR, B.MCALITATE, "
                       "B.MCONFORM, B.MTEL, B.MCNPCUI, B.MLOCV, B.MADRESA, B.MJUDET, B.MCODPOST, B.MBI, B.MBISERIA, "
                       "B.MBINR, B.MBIELIB, B.MBIDATA FROM ")
            + QuotedTablePath(QStringLiteral("Cereri.dbf")) + QStringLiteral(" A JOIN ")
            + QuotedTablePath(QStringLiteral("Vanzatori.dbf")) + QStringLiteral(" B ON A.ID=B.ID WHERE B.NRCRT=1 AND A.ID<>? ORDER BY A.DATAC DESC, ")
            + order + QStringLiteral(" DESC"),
        {requestId.toLongLong()}));
    if (Ax->rowCount() == 0) {
        PrompterOr(prompter_).Mesaj(QStringLiteral("Copiere Preemptori"), QStringLiteral("\rNu aveti nicio Cerere introdusa!"),
                                    ButtonOk, KindError);
        Ax->setQuery(sqlstore::Query());
        Px->setQuery(sqlstore::Query());
        return false;
    }
    Ax->setFocus();
    exec();
    Ax->setQuery(sqlstore::Query());
    Px->setQuery(sqlstore::Query());
    chosenId = chosenId_;
    return !chosenId_.isEmpty();
}

void TSelCerere::AxAfterScroll(int row)
{
    if (row < 0) {
        Px->setQuery(sqlstore::Query());
        return;
    }
    const QVariant id = Ax->queryModel()->query().valueAt(row, Ax->queryModel()->query().fieldIndex(QStringLiteral("ID")));
    Px->setQuery(database().query(QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Preemptori.dbf"))
                                      + QStringLiteral(" WHERE ID=? ORDER BY RANG, NUME"),
                                  {id}));
}

void TSelCerere::MemoButClick()
{
    const int row = Ax->currentRow();
    if (row < 0)
        return;
    const sqlstore::Query &q = Ax->queryModel()->query();
    chosenId_ = q.valueAt(row, q.fieldIndex(QStringLiteral("ID"))).toString();
    accept();
}
