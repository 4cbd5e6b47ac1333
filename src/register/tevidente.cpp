#include "register/tevidente.h"

#include "datastore/listhelpers.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "dialogs/bandedgrid.h"
#include "dialogs/storedrequest.h"
#include "dialogs/taddaltact.h"
#include "dialogs/taddcerere.h"
#include "dialogs/taddcomun.h"
#include "dialogs/talegepree.h"
#include "platform/error.h"
#include "platform/prompter.h"
#include "register/actoperations.h"
#include "register/answeroperations.h"
#include "register/documents/documentlisting.h"
#include "register/registermodels.h"
#include "register/registerqueries.h"
#include "register/registerstatus.h"
#include "register/requestlifecycle.h"
#include "register/stageclosing.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLabel *title(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

CollectedRequest collectedFrom(TAddCerere &dialog)
{
    CollectedRequest c;
    c.fields = dialog.requestFields();
    c.share = dialog.ShareText();
    c.tables = dialog.workingTables();
    c.holderCount = dialog.holderCount();
    return c;
}

const char *const kAnySeller = "* indiferent *";

// The communications (stage I) or offers (stage II) of a request.
QString answersStatement(bool stageOne)
{
    return QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Comunicari.dbf"))
           + QStringLiteral("\nWHERE ID=? AND ") + (stageOne ? QStringLiteral("RANG<100") : QStringLiteral("RANG=100"))
           + QStringLiteral("\nORDER BY DATAC, NR");
}

} // namespace

TEvidente::TEvidente(Prompter &prompter, TAddCerere *requestDialog, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                          | Qt::WindowCloseButtonHint),
      prompter_(prompter),
      requestDialog_(requestDialog ? requestDialog : new TAddCerere(this, &prompter))
{
    setObjectName(QStringLiteral("TEvidente"));
    setWindowTitle(QStringLiteral("Evidenta Cereri pentru afisarea ofertei"));
    auto *layout = new QVBoxLayout(this);
    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(buildRequestArea());
    Splitter->addWidget(buildAnswerArea());
    Splitter->addWidget(buildActArea());
    Splitter->setStretchFactor(0, 3);
    Splitter->setStretchFactor(1, 1);
    Splitter->setStretchFactor(2, 2);
    layout->addWidget(Splitter, 1);
    layout->addWidget(buildBottomBar());
    ComunDialog = new TAddComun(this, &prompter);
    ActDialog = new TAddAltAct(this, &prompter);
    WinnerDialog = new TAlegePree(this);
    resize(1300, 740);
}

QWidget *TEvidente::buildRequestArea()
{
    auto *area = new QWidget(this);
    auto *v = new QVBoxLayout(area);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(title(QStringLiteral("   Cereri primite"), area));
    AxGrid = new QTableView(area);
    AxGrid->setObjectName(QStringLiteral("AxGrid"));
    AxGrid->setHorizontalHeader(new BandedHeader(AxGrid));
    model_ = new RequestsModel(requests_, this);
    AxGrid->setModel(model_);
    AxGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    AxGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    AxGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AxGrid->verticalHeader()->hide();
    AxGrid->verticalHeader()->setDefaultSectionSize(AxGrid->fontMetrics().height() + 6);
    connect(AxGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TEvidente::AxAfterScroll);
    v->addWidget(AxGrid, 1);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Cautare cerere"), area));
    row->addWidget(new QLabel(QStringLiteral("Vanzator"), area));
    VanzatorC = new QComboBox(area);
    VanzatorC->setObjectName(QStringLiteral("VanzatorC"));
    // A long seller name must not widen the window past the screen.
    VanzatorC->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    VanzatorC->setMinimumContentsLength(24);
    row->addWidget(VanzatorC);
    row->addWidget(new QLabel(QStringLiteral("Nr.cerere"), area));
    NrC = new QLineEdit(area);
    NrC->setObjectName(QStringLiteral("NrC"));
    NrC->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), NrC));
    NrC->setMaximumWidth(100);
    row->addWidget(NrC);
    AddCerereB = button("AddCerereB", QStringLiteral("&Adauga Cerere"), area);
    EditCerereB = button("EditCerereB", QStringLiteral("&Modifica Cerere"), area);
    DelCerereB = button("DelCerereB", QStringLiteral("Sterge Cerere"), area);
    ListCerereB = button("ListCerereB", QStringLiteral("Listeaza Cerere"), area);
    StopCB = button("StopCB", QStringLiteral("Anulare Procedura din diverse motive (deces, retragere...)"), area);
    ReactivB = button("ReactivB", QStringLiteral("Reactivare Cerere"), area);
    // Two rows, so that the window fits a 1366-pixel screen.
    row->addStretch(1);
    for (QPushButton *b : {AddCerereB, EditCerereB, DelCerereB, ListCerereB})
        row->addWidget(b);
    v->addLayout(row);
    auto *lifeRow = new QHBoxLayout;
    lifeRow->addStretch(1);
    lifeRow->addWidget(StopCB);
    lifeRow->addWidget(ReactivB);
    v->addLayout(lifeRow);
    connect(VanzatorC, &QComboBox::currentIndexChanged, this, &TEvidente::searchChanged);
    connect(NrC, &QLineEdit::textChanged, this, &TEvidente::searchChanged);
    connect(AddCerereB, &QPushButton::clicked, this, &TEvidente::AddCerereBClick);
    connect(EditCerereB, &QPushButton::clicked, this, &TEvidente::EditCerereBClick);
    connect(DelCerereB, &QPushButton::clicked, this, &TEvidente::DelCerereBClick);
    connect(ListCerereB, &QPushButton::clicked, this, &TEvidente::ListCerereBClick);
    connect(StopCB, &QPushButton::clicked, this, &TEvidente::StopCBClick);
    connect(ReactivB, &QPushButton::clicked, this, &TEvidente::ReactivBClick);
    return area;
}

QWidget *TEvidente::buildAnswerArea()
{
    auto *area = new QWidget(this);
    auto *v = new QVBoxLayout(area);
    v->setContentsMargins(0, 0, 0, 0);
    ComTitleL = title(QStringLiteral("  Comunicari de acceptare"), area);
    ComTitleL->setObjectName(QStringLiteral("ComTitleL"));
    v->addWidget(ComTitleL);
    auto *h = new QHBoxLayout;
    // One grid per stage: their bands and columns differ.
    answerGrids_[0] = new BandedGrid(RegisterAnswerColumns(true), area);
    answerGrids_[1] = new BandedGrid(RegisterAnswerColumns(false), area);
    answerGrids_[1]->setColumnHidden(5, true);
    for (BandedGrid *grid : answerGrids_) {
        grid->setObjectName(QStringLiteral("BxGrid"));
        h->addWidget(grid, 1);
    }
    BxGrid = answerGrids_[0];
    answerGrids_[1]->hide();
    ComPanel = new QWidget(area);
    ComPanel->setObjectName(QStringLiteral("ComPanel"));
    auto *buttons = new QVBoxLayout(ComPanel);
    AddComunB = button("AddComunB", QStringLiteral("Adauga Comunicare"), ComPanel);
    EditComunB = button("EditComunB", QStringLiteral("Modifica Comunicare"), ComPanel);
    DelComunB = button("DelComunB", QStringLiteral("Sterge Comunicare"), ComPanel);
    PrintComunB = button("PrintComunB", QStringLiteral("Listeaza Comunicare"), ComPanel);
    for (QPushButton *b : {AddComunB, EditComunB, DelComunB, PrintComunB})
        buttons->addWidget(b);
    buttons->addStretch(1);
    h->addWidget(ComPanel);
    v->addLayout(h, 1);
    connect(AddComunB, &QPushButton::clicked, this, &TEvidente::AddComunBClick);
    connect(EditComunB, &QPushButton::clicked, this, &TEvidente::EditComunBClick);
    connect(DelComunB, &QPushButton::clicked, this, &TEvidente::DelComunBClick);
    connect(PrintComunB, &QPushButton::clicked, this, &TEvidente::PrintComunBClick);
    return area;
}

QWidget *TEvidente::buildActArea()
{
    auto *area = new QWidget(this);
    auto *v = new QVBoxLayout(area);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(title(QStringLiteral("  Alte acte"), area));
    auto *h = new QHBoxLayout;
    CxGrid = new BandedGrid(RegisterActColumns(), area);
    CxGrid->setObjectName(QStringLiteral("CxGrid"));
    h->addWidget(CxGrid, 1);
    auto *buttons = new QVBoxLayout;
    AddAct = button("AddAct", QStringLiteral("Adauga Act"), area);
    auto *menu = new QMenu(AddAct);
    menu->setObjectName(QStringLiteral("AddActMenu"));
    menu->addAction(QStringLiteral("Adresa sit arheologic"), this, [this] { AddActClick(true); });
    menu->addAction(QStringLiteral("Alte acte"), this, [this] { AddActClick(false); });
    connect(AddAct, &QPushButton::clicked, this,
            [this, menu] { menu->popup(AddAct->mapToGlobal(QPoint(0, AddAct->height()))); });
    EditAct = button("EditAct", QStringLiteral("Modifica Act"), area);
    DelAct = button("DelAct", QStringLiteral("Sterge Act"), area);
    ListAct = button("ListAct", QStringLiteral("Listeaza Act"), area);
    for (QPushButton *b : {AddAct, EditAct, DelAct, ListAct})
        buttons->addWidget(b);
    buttons->addStretch(1);
    h->addLayout(buttons);
    v->addLayout(h, 1);
    connect(CxGrid, &BandedGrid::currentRowChanged, this, &TEvidente::CxAfterScroll);
    connect(EditAct, &QPushButton::clicked, this, &TEvidente::EditActClick);
    connect(DelAct, &QPushButton::clicked, this, &TEvidente::DelActClick);
    connect(ListAct, &QPushButton::clicked, this, &TEvidente::ListActClick);
    return area;
}

QWidget *TEvidente::buildBottomBar()
{
    auto *bar = new QWidget(this);
    auto *h = new QHBoxLayout(bar);
    h->setContentsMargins(0, 0, 0, 0);
    StatusPanel = new QWidget(bar);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    auto *s = new QHBoxLayout(StatusPanel);
    s->setContentsMargins(0, 0, 0, 0);
    s->addWidget(new QLabel(QStringLiteral("Stare dosar nr."), StatusPanel));
    NrSL = title(QString(), StatusPanel);
    NrSL->setObjectName(QStringLiteral("NrSL"));
    s->addWidget(NrSL);
    StareL = title(QString(), StatusPanel);
    StareL->setObjectName(QStringLiteral("StareL"));
    StareL->setStyleSheet(QStringLiteral("color: #000080"));
    s->addWidget(StareL, 1);
    FinBut = button("FinBut", QString(), StatusPanel);
    s->addWidget(FinBut);
    connect(FinBut, &QPushButton::clicked, this, &TEvidente::FinButClick);
    h->addWidget(StatusPanel, 1);
    // Keeps the total at the right while the status panel is hidden.
    h->addStretch(0);
    h->addWidget(new QLabel(QStringLiteral("Total cereri :"), bar));
    TotCerL = title(QStringLiteral("0"), bar);
    TotCerL->setObjectName(QStringLiteral("TotCerL"));
    h->addWidget(TotCerL);
    return bar;
}

void TEvidente::OpenRegister()
{
    OpenDatasets();
    exec();
    CloseDatasets();
}

void TEvidente::OpenDatasets()
{
    guarded([this] {
        RefreshSellerList();
        requests_.open(LoadRegisterSettings(), today());
        open_ = true;
        NrC->clear();
        requests_.setSearch(QString(), 0);
        model_->reload();
        if (requests_.rowCount() > 0)
            AxGrid->selectRow(requests_.rowCount() - 1);
        else
            AxAfterScroll();
    });
}

void TEvidente::CloseDatasets()
{
    open_ = false;
    requests_.close();
    model_->reload();
    for (BandedGrid *grid : answerGrids_)
        grid->setQuery(sqlstore::Query());
    CxGrid->setQuery(sqlstore::Query());
}

void TEvidente::RefreshSellerList()
{
    fillingSellers_ = true;
    VanzatorC->clear();
    VanzatorC->addItem(QLatin1String(kAnySeller));
    VanzatorC->addItems(FillDistinctList(TablePath(QStringLiteral("Vanzatori.dbf")), QStringLiteral("NRCRT=1"),
                                         QStringLiteral("Vanzator")));
    VanzatorC->setCurrentIndex(0);
    fillingSellers_ = false;
}

int TEvidente::currentRequestRow() const
{
    const QModelIndex current = AxGrid->currentIndex();
    return open_ && current.isValid() && current.row() < requests_.rowCount() ? current.row() : -1;
}

qlonglong TEvidente::currentRequestId() const
{
    const int row = currentRequestRow();
    return row < 0 ? 0 : requests_.id(row);
}

void TEvidente::AxAfterScroll()
{
    if (refreshCount_ > 0) {
        ++refreshCount_;
        return;
    }
    do {
        refreshCount_ = 1;
        refreshStatus(true);
        // The refresh lets pending window messages run; a move that arrives
        // meanwhile is taken once more at the end.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } while (refreshCount_ > 1);
    refreshCount_ = 0;
}

void TEvidente::refreshStatus(bool fromDataset)
{
    const int row = currentRequestRow();
    const int stare = row < 0 ? -1 : requests_.stare(row);
    const bool stageOne = row < 0 || InStageOne(requests_.pv1(row));
    applyStageCaptions(stageOne);
    TotCerL->setText(QString::number(open_ ? requests_.rowCount() : 0));
    const RequestButtons buttons = RequestButtonsFor(stare);
    EditCerereB->setEnabled(buttons.open);
    DelCerereB->setEnabled(buttons.open);
    StopCB->setEnabled(buttons.open);
    ComPanel->setVisible(buttons.open);
    ReactivB->setEnabled(buttons.reactivate);
    StatusPanel->setVisible(buttons.anyRow);
    AddAct->setEnabled(buttons.anyRow);
    if (row >= 0) {
        const RequestStatus status = StatusOf(stare, requests_.pv1(row), requests_.columns(row), requests_.today());
        NrSL->setText(requests_.columns(row).NRS);
        StareL->setText(status.text);
        FinBut->setText(status.finCaption);
        FinBut->setVisible(status.finShown);
    }
    if (fromDataset)
        openChildren(row < 0 ? -1 : requests_.id(row), stageOne);
}

void TEvidente::applyStageCaptions(bool stageOne)
{
    const StageCaptions c = StageCaptionsFor(stageOne);
    ComTitleL->setText(c.title);
    AddComunB->setText(c.add);
    EditComunB->setText(c.edit);
    DelComunB->setText(c.del);
    PrintComunB->setText(c.list);
    BxGrid = answerGrids_[stageOne ? 0 : 1];
    answerGrids_[0]->setVisible(stageOne);
    answerGrids_[1]->setVisible(!stageOne);
}

void TEvidente::openChildren(qlonglong id, bool stageOne)
{
    const bool perRequest = requests_.settings().perRequestNumbering;
    guarded([&] {
        BxGrid->queryModel()->setComputed(AnswerAndActColumns(perRequest));
        BxGrid->setQuery(sqlstore::database().query(answersStatement(stageOne), {id}));
        CxGrid->queryModel()->setComputed(AnswerAndActColumns(perRequest));
        CxGrid->setQuery(sqlstore::database().query(QStringLiteral("SELECT * FROM ")
                                                        + QuotedTablePath(QStringLiteral("AlteActe.dbf"))
                                                        + QStringLiteral("\nWHERE ID=?\nORDER BY DATAA, NR"),
                                                    {id}));
    });
    const bool hasAnswer = BxGrid->rowCount() > 0;
    EditComunB->setEnabled(hasAnswer);
    DelComunB->setEnabled(hasAnswer);
    PrintComunB->setEnabled(hasAnswer);
    if (CxGrid->rowCount() > 0)
        CxGrid->setCurrentRow(CxGrid->rowCount() - 1);
    CxAfterScroll();
}

void TEvidente::CxAfterScroll()
{
    const int act = CxGrid->currentRow();
    const int row = currentRequestRow();
    QString blocat;
    if (act >= 0) {
        sqlstore::Query &q = CxGrid->queryModel()->query();
        blocat = q.valueAt(act, q.fieldIndex(QStringLiteral("BLOCAT"))).toString();
    }
    const ActButtons b = ActButtonsFor(act >= 0, blocat, row < 0 ? -1 : requests_.stare(row));
    EditAct->setEnabled(b.edit);
    DelAct->setEnabled(b.del);
    ListAct->setEnabled(b.list);
}

void TEvidente::searchChanged()
{
    if (fillingSellers_ || !open_)
        return;
    if (filterCount_ > 0) {
        ++filterCount_;
        return;
    }
    do {
        filterCount_ = 1;
        const QString seller = VanzatorC->currentIndex() > 0 ? VanzatorC->currentText() : QString();
        requests_.setSearch(seller, NrC->text().toLongLong());
        model_->reload();
        if (requests_.rowCount() > 0)
            AxGrid->selectRow(requests_.rowCount() - 1);
        else
            AxAfterScroll();
    } while (filterCount_ > 1);
    filterCount_ = 0;
}

void TEvidente::showRequest(qlonglong id)
{
    model_->reload();
    const int row = requests_.rowOfId(id);
    if (row >= 0)
        AxGrid->selectRow(row);
    else if (requests_.rowCount() > 0)
        AxGrid->selectRow(requests_.rowCount() - 1);
    else
        AxAfterScroll();
    // The same row again does not move the cursor: the status follows anyway.
    AxAfterScroll();
}

void TEvidente::RefreshRequests(qlonglong id)
{
    const qlonglong target = id != 0 ? id : currentRequestId();
    guarded([this] { requests_.refresh(today()); });
    showRequest(target);
}

void TEvidente::guarded(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const ArvenaError &e) {
        prompter_.Mesaj(QStringLiteral("Eroare"), e.message(), ButtonOk, KindError);
    }
}

void TEvidente::SetState(int stare)
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    guarded([&] { requests_.noteChange(SetRequestState(id, stare)); });
    RefreshRequests(id);
}

void TEvidente::SetStage(bool stageTwo)
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    guarded([&] { requests_.noteChange(SetRequestStage(id, stageTwo)); });
    RefreshRequests(id);
}

int TEvidente::NextFileNumber() const
{
    return ::NextFileNumber(currentRequestId());
}

void TEvidente::AddCerereBClick()
{
    if (!requestDialog_->OpenRequestDialog(QStringLiteral("-1"), true))
        return;
    qlonglong id = 0;
    RequestLifecycle life(prompter_, ListAct->isVisible() ? ListAct : AddCerereB);
    guarded([&] { id = life.AddRequest(collectedFrom(*requestDialog_)); });
    requestDialog_->DropTables();
    RefreshSellerList();
    RefreshRequests(id);
}

void TEvidente::EditCerereBClick()
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    RequestLifecycle life(prompter_);
    EditKind kind = EditKind::Stopped;
    RequestFields fields;
    QString share;
    guarded([&] {
        if (LoadStoredRequest(id, fields, share))
            kind = life.PrepareEdit(id);
    });
    if (kind == EditKind::Stopped)
        return;
    requestDialog_->fillFromRequest(fields, share);
    if (!requestDialog_->OpenRequestDialog(QString::number(id), kind == EditKind::LastRequest))
        return;
    guarded([&] {
        const CollectedRequest collected = collectedFrom(*requestDialog_);
        if (kind == EditKind::LastRequest)
            life.EditLastRequest(id, collected);
        else
            life.EditOlderRequest(id, collected);
    });
    requestDialog_->DropTables();
    RefreshSellerList();
    RefreshRequests(id);
}

void TEvidente::DelCerereBClick()
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    RequestLifecycle life(prompter_);
    bool deleted = false;
    guarded([&] { deleted = life.DeleteRequest(id); });
    if (!deleted)
        return;
    RefreshSellerList();
    RefreshRequests(-1);
}

void TEvidente::StopCBClick()
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    RequestLifecycle life(prompter_, ListAct->isVisible() ? ListAct : StopCB);
    life.setToday(today());
    bool cancelled = false;
    guarded([&] { cancelled = life.CancelProcedure(id); });
    if (!cancelled)
        return;
    if (life.lastChange())
        requests_.noteChange(*life.lastChange());
    RefreshRequests(id);
    CxGrid->locate(QStringLiteral("IDA"), life.lastActId());
}

void TEvidente::ReactivBClick()
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    RequestLifecycle life(prompter_);
    bool reopened = false;
    guarded([&] { reopened = life.ReactivateRequest(id); });
    if (!reopened)
        return;
    if (life.lastChange())
        requests_.noteChange(*life.lastChange());
    RefreshRequests(id);
}

void TEvidente::ListCerereBClick()
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    ListCerereB->setEnabled(false);
    DocumentListing(prompter_).ListRequest(id);
    ListCerereB->setEnabled(true);
}

qlonglong TEvidente::currentAnswerId() const
{
    const int row = BxGrid->currentRow();
    if (row < 0)
        return 0;
    sqlstore::Query &q = BxGrid->queryModel()->query();
    return q.valueAt(row, q.fieldIndex(QStringLiteral("IDC"))).toLongLong();
}

qlonglong TEvidente::currentActId() const
{
    const int row = CxGrid->currentRow();
    if (row < 0)
        return 0;
    sqlstore::Query &q = CxGrid->queryModel()->query();
    return q.valueAt(row, q.fieldIndex(QStringLiteral("IDA"))).toLongLong();
}

void TEvidente::showAfterWrite(qlonglong id, const std::optional<RequestChange> &change, qlonglong idc, qlonglong ida)
{
    if (change)
        requests_.noteChange(*change);
    RefreshRequests(id);
    if (idc != 0)
        BxGrid->locate(QStringLiteral("IDC"), idc);
    else if (BxGrid->rowCount() > 0)
        BxGrid->setCurrentRow(BxGrid->rowCount() - 1);
    if (ida != 0 && CxGrid->locate(QStringLiteral("IDA"), ida))
        CxAfterScroll();
}

void TEvidente::AddComunBClick()
{
    const int row = currentRequestRow();
    if (row < 0)
        return;
    const qlonglong id = requests_.id(row);
    AnswerOperations answers(prompter_, ListAct);
    bool ready = false;
    guarded([&] {
        if (!answers.CanAddAnswer(id))
            return;
        ComunDialog->SetAnswerKind(!answers.facts().stageTwo);
        ComunDialog->ClearCommunicationFields();
        ComunDialog->setNumber(NextEntryNumber(id));
        ComunDialog->setCurrentRequest(QString::number(id));
        ready = true;
    });
    if (!ready || !ComunDialog->EditCommunication(true, answers.facts().pret))
        return;
    qlonglong idc = 0;
    guarded([&] { idc = answers.AddAnswer(id, ComunDialog->answerLine()); });
    showAfterWrite(id, answers.lastChange(), idc);
}

void TEvidente::EditComunBClick()
{
    const qlonglong id = currentRequestId();
    const qlonglong idc = currentAnswerId();
    if (id == 0 || idc == 0)
        return;
    AnswerOperations answers(prompter_, ListAct);
    bool ready = false;
    guarded([&] {
        const StoredAnswer stored = answers.LoadAnswer(idc);
        ComunDialog->SetAnswerKind(!answers.facts().stageTwo);
        ComunDialog->ClearCommunicationFields();
        ComunDialog->setNumber(stored.number);
        ComunDialog->setCurrentRequest(QString::number(id));
        ComunDialog->LoadAnswer(stored.line);
        ready = true;
    });
    if (!ready || !ComunDialog->EditCommunication(false, answers.facts().pret))
        return;
    guarded([&] { answers.EditAnswer(idc, ComunDialog->answerLine()); });
    showAfterWrite(id, std::nullopt, idc);
}

void TEvidente::DelComunBClick()
{
    const qlonglong id = currentRequestId();
    const qlonglong idc = currentAnswerId();
    if (id == 0 || idc == 0)
        return;
    AnswerOperations answers(prompter_, ListAct);
    bool deleted = false;
    guarded([&] { deleted = answers.DeleteAnswer(idc); });
    if (deleted)
        showAfterWrite(id, answers.lastChange());
}

void TEvidente::PrintComunBClick()
{
    const qlonglong idc = currentAnswerId();
    if (idc == 0)
        return;
    // Disabled while the document is built; the listing ignores a second click.
    PrintComunB->setEnabled(false);
    DocumentListing(prompter_).ListAnswer(idc);
    PrintComunB->setEnabled(true);
}

void TEvidente::AddActClick(bool archaeologicalSite)
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    ActOperations acts(prompter_, ListAct);
    acts.setToday(today());
    qlonglong ida = 0;
    if (archaeologicalSite) {
        guarded([&] { ida = acts.AddSiteAddress(id); });
    } else {
        bool ready = false;
        guarded([&] {
            ActDialog->setNumber(NextEntryNumber(id));
            ready = true;
        });
        for (QWidget *w : {static_cast<QWidget *>(ActDialog->DataA), static_cast<QWidget *>(ActDialog->Modul),
                           static_cast<QWidget *>(ActDialog->TipAct)})
            w->setEnabled(true);
        if (!ready || !ActDialog->EditOtherAct(true))
            return;
        guarded([&] { ida = acts.AddOtherAct(id, ActDialog->otherActLine()); });
    }
    if (ida != 0)
        showAfterWrite(id, std::nullopt, 0, ida);
}

void TEvidente::EditActClick()
{
    const qlonglong id = currentRequestId();
    const qlonglong ida = currentActId();
    if (id == 0 || ida == 0)
        return;
    ActOperations acts(prompter_, ListAct);
    bool ready = false;
    guarded([&] {
        const StoredAct stored = acts.LoadAct(ida);
        ActDialog->ClearActFields();
        ActDialog->setNumber(stored.number);
        ActDialog->LoadOtherAct(stored.line);
        for (QWidget *w : {static_cast<QWidget *>(ActDialog->DataA), static_cast<QWidget *>(ActDialog->Modul),
                           static_cast<QWidget *>(ActDialog->TipAct)})
            w->setEnabled(!stored.locked());
        ready = true;
    });
    if (!ready || !ActDialog->EditOtherAct(false))
        return;
    guarded([&] { acts.EditAct(ida, ActDialog->otherActLine()); });
    showAfterWrite(id, std::nullopt, 0, ida);
}

void TEvidente::DelActClick()
{
    const qlonglong id = currentRequestId();
    const qlonglong ida = currentActId();
    if (id == 0 || ida == 0)
        return;
    ActOperations acts(prompter_, ListAct);
    bool deleted = false;
    guarded([&] { deleted = acts.DeleteAct(ida); });
    if (deleted)
        showAfterWrite(id, acts.lastChange());
}

void TEvidente::ListActClick()
{
    const int act = CxGrid->currentRow();
    if (act < 0)
        return;
    sqlstore::Query &acts = CxGrid->queryModel()->query();
    const qlonglong ida = acts.valueAt(act, acts.fieldIndex(QStringLiteral("IDA"))).toLongLong();
    // The answer selected in the grid stands for an act that has none of its own.
    qlonglong selectedAnswer = 0;
    if (const int answer = BxGrid->currentRow(); answer >= 0) {
        sqlstore::Query &answers = BxGrid->queryModel()->query();
        selectedAnswer = answers.valueAt(answer, answers.fieldIndex(QStringLiteral("IDC"))).toLongLong();
    }
    // Disabled while the document is built; the listing ignores a second click.
    ListAct->setEnabled(false);
    DocumentListing(prompter_).ListAct(ida, selectedAnswer);
    CxAfterScroll();
}

qlonglong TEvidente::chooseWinner(bool communications)
{
    qlonglong idc = 0;
    guarded([&] {
        WinnerDialog->setList(sqlstore::database().query(answersStatement(communications), {currentRequestId()}));
        // The register's own captions of the stage, and its numbers.
        WinnerDialog->Cx->queryModel()->setColumns(RegisterAnswerColumns(communications));
        WinnerDialog->Cx->queryModel()->setComputed(AnswerAndActColumns(requests_.settings().perRequestNumbering));
        WinnerDialog->Cx->setColumnHidden(5, !communications);
        if (!WinnerDialog->ChooseWinner(communications))
            return;
        sqlstore::Query &list = WinnerDialog->list();
        idc = list.valueAt(WinnerDialog->chosenRow(), list.fieldIndex(QStringLiteral("IDC"))).toLongLong();
    });
    return idc;
}

void TEvidente::FinButClick()
{
    const qlonglong id = currentRequestId();
    if (id == 0)
        return;
    StageClosing closing(prompter_, [this](bool communications) { return chooseWinner(communications); }, ListAct);
    closing.setToday(today());
    bool closed = false;
    guarded([&] { closed = closing.FinishStage(id); });
    if (closed)
        showAfterWrite(id, closing.lastChange(), 0, closing.lastActId());
}
