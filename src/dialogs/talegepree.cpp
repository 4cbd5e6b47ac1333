#include "dialogs/talegepree.h"

#include "dialogs/dialogparts.h"
#include "dialogs/requestgrids.h"
#include "ui/dialogkeys.h"

#include <QPushButton>
#include <QVBoxLayout>

using namespace dialogparts;

TAlegePree::TAlegePree(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TAlegePree"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Cx = new BandedGrid(CommunicationGridColumns(), this);
    Cx->setObjectName(QStringLiteral("Cx"));
    QHBoxLayout *footer = FooterButtons(this, &MemoBut, &RenuntBut, QStringLiteral("&Am ales"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Cx, 1);
    layout->addLayout(footer);
    connect(MemoBut, &QPushButton::clicked, this, &TAlegePree::MemoButClick);
    connect(RenuntBut, &QPushButton::clicked, this, &QDialog::reject);
    AdoptDialogKeys(this, DialogKey::EscCloses);
    resize(1000, 380);
}

void TAlegePree::setList(sqlstore::Query list)
{
    Cx->queryModel()->setComputed(RequestGridComputed());
    Cx->setQuery(std::move(list));
}

sqlstore::Query &TAlegePree::list()
{
    return Cx->queryModel()->query();
}

bool TAlegePree::ChooseWinner(bool communications)
{
    setWindowTitle(communications ? QStringLiteral("Alegere Preemptor") : QStringLiteral("Alegere Ofertant"));
    chosen_ = false;
    chosenRow_ = -1;
    Cx->setFocus();
    exec();
    return chosen_;
}

void TAlegePree::MemoButClick()
{
    chosenRow_ = Cx->currentRow();
    if (chosenRow_ < 0)
        return;
    list().seek(chosenRow_);
    chosen_ = true;
    accept();
}
