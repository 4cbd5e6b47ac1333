// The entry dialogs wired to real tables, driven by clicks and typed text:
// the seller dialog's memory and list, the holder dialogs, and the request
// dialog's buttons, refusals, save order and working tables.
#include "admin/administration.h"
#include "datastore/counters.h"
#include "datastore/listhelpers.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "dialogs/bandedgrid.h"
#include "dialogs/holderranks.h"
#include "dialogs/storedrequest.h"
#include "dialogs/taddcerere.h"
#include "dialogs/taddpree.h"
#include "dialogs/talegepree.h"
#include "dialogs/taltivanz.h"
#include "dialogs/tcnpedit.h"
#include "dialogs/tnumericf.h"
#include "dialogs/tselcerere.h"
#include "dialogs/tselpreef.h"
#include "dialogtesting.h"
#include "tablefixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <map>
#include <vector>

using sqlstore::database;

namespace {

void addSellerRow(int idv, int id, int nrcrt, const QString &name, const QString &code, const QString &loc)
{
    database().exec("INSERT INTO " + QuotedTablePath("Vanzatori.dbf")
                        + " (IDV, ID, NRCRT, VANZATOR, CNPCUI, LOCV, JUDET, BI, MJUDET, MCALITATE, BIDATA)"
                          " VALUES (?, ?, ?, ?, ?, ?, 'CLUJ', 'CI', 'BRASOV', 'imputernicit', ?)",
                    {idv, id, nrcrt, name, code, loc, QDate(2019, 4, 2)});
}

QStringList dialogFiles(const QString &folder)
{
    return QDir(folder).entryList({"TmpPre*", "TmpVanz*"}, QDir::Files);
}

} // namespace

using SellerDialog = DialogTest;

TEST_F(SellerDialog, FirstAddStartsEmptyAndTheSavedSellerIsRemembered)
{
    TAltiVanz dialog(nullptr, &prompter);
    whenDialogOpens<TAltiVanz>([](TAltiVanz *d) {
        EXPECT_EQ(d->TitleL->text(), "Adaugare Vanzator");
        EXPECT_EQ(d->Vanzator->currentText(), "");
        EXPECT_EQ(d->Judet->currentText(), "ALBA");
        EXPECT_EQ(d->MJudet->currentText(), "ALBA");
        EXPECT_EQ(d->BIData->date(), QDate(1899, 12, 30));
        EXPECT_EQ(d->MBIData->date(), QDate(1899, 12, 30));
        d->Vanzator->setEditText("POPESCU ION");
        d->CNPCUI->setText("1800101221144");
        d->Judet->setCurrentIndex(5);
        d->BIData->setDate(QDate(2021, 6, 1));
        d->MCalitate->setEditText("imputernicit");
        d->MemoBut->click();
    });
    ASSERT_TRUE(dialog.EditSeller(true, true));
    EXPECT_EQ(ReadSetting("TEMP", "VANZATOR"), "POPESCU ION");
    EXPECT_EQ(ReadSetting("TEMP", "JUDET"), "5");
    EXPECT_EQ(ReadSetting("TEMP", "BIDATA"), QString::number(QDate(1899, 12, 30).daysTo(QDate(2021, 6, 1))));
    EXPECT_EQ(ReadSetting("TEMP", "MCALITATE"), "imputernicit");

    // The second add starts from the first; a cancel leaves "TEMP" alone.
    whenDialogOpens<TAltiVanz>([](TAltiVanz *d) {
        EXPECT_EQ(d->Vanzator->currentText(), "POPESCU ION");
        EXPECT_EQ(d->Judet->currentIndex(), 5);
        EXPECT_EQ(d->BIData->date(), QDate(2021, 6, 1));
        d->Vanzator->setEditText("ALTCINEVA");
        d->RenuntBut->click();
    });
    EXPECT_FALSE(dialog.EditSeller(true, true));
    EXPECT_EQ(ReadSetting("TEMP", "VANZATOR"), "POPESCU ION");

    // Modifying never writes "TEMP".
    dialog.ClearSellerFields();
    SellerLine line;
    line.vanzator = "MODIFICAT";
    dialog.LoadSellerLine(line);
    whenDialogOpens<TAltiVanz>([](TAltiVanz *d) {
        EXPECT_EQ(d->TitleL->text(), "Modificare Vanzator");
        d->MemoBut->click();
    });
    ASSERT_TRUE(dialog.EditSeller(false, true));
    EXPECT_EQ(dialog.sellerLine().vanzator, "MODIFICAT");
    EXPECT_EQ(ReadSetting("TEMP", "VANZATOR"), "POPESCU ION");
}

TEST_F(SellerDialog, ClearValuesGivesTodayAndTheAdministrationCounty)
{
    WriteSetting("CONST", "JUDET", "12");
    TAltiVanz dialog(nullptr, &prompter);
    addSellerRow(1, 1, 1, "X", "", "");
    dialog.Vanzator->setEditText("X");
    dialog.Tel->setText("0722");
    dialog.ClearAllB->click();
    EXPECT_EQ(dialog.Vanzator->currentText(), "");
    EXPECT_EQ(dialog.Tel->text(), "");
    EXPECT_EQ(dialog.Judet->currentText(), CountyNames().at(12));
    EXPECT_EQ(dialog.MJudet->currentText(), CountyNames().at(12));
    EXPECT_EQ(dialog.BIData->date(), QDate::currentDate());
    EXPECT_EQ(dialog.MCalitate->count(), 1);
    EXPECT_EQ(dialog.MCalitate->itemText(0), "imputernicit");
    EXPECT_EQ(dialog.MCalitate->currentText(), "");
}

TEST_F(SellerDialog, EarlierSellersOnePerNameAndCodeFromTheNewestLine)
{
    addSellerRow(1, 1, 1, "POPA ANA", "2800101221145", "VECHI");
    addSellerRow(5, 2, 1, "POPA ANA", "2800101221145", "NOU");
    addSellerRow(3, 3, 1, "POPA ANA", "", "FARA COD");
    addSellerRow(4, 4, 1, "BALAN", "", "B");
    TAltiVanz dialog(nullptr, &prompter);
    whenDialogOpens<TAltiVanz>([](TAltiVanz *d) {
        ASSERT_EQ(d->Vanzator->count(), 3);
        EXPECT_EQ(d->Vanzator->itemText(0), "BALAN");
        EXPECT_EQ(d->Vanzator->itemText(1), "POPA ANA");
        EXPECT_EQ(d->Vanzator->itemText(2), "POPA ANA");
        const int withCode = d->earlierSellers().at(1).idv == 5 ? 1 : 2;
        EXPECT_EQ(d->earlierSellers().at(withCode).idv, 5);
        d->Vanzator->setCurrentIndex(withCode);
        emit d->Vanzator->activated(withCode);
        EXPECT_EQ(d->LocV->text(), "NOU");
        EXPECT_EQ(d->CNPCUI->text(), "2800101221145");
        EXPECT_EQ(d->Judet->currentText(), "CLUJ");
        EXPECT_EQ(d->MJudet->currentText(), "BRASOV");
        EXPECT_EQ(d->BIData->date(), QDate(2019, 4, 2));
        d->RenuntBut->click();
    });
    dialog.EditSeller(true, true);
    // A line stored since (here or on another workstation) is in the next list.
    addSellerRow(9, 5, 1, "ADAM", "", "A");
    whenDialogOpens<TAltiVanz>([](TAltiVanz *d) {
        EXPECT_EQ(d->Vanzator->count(), 4);
        EXPECT_EQ(d->Vanzator->itemText(0), "ADAM");
        d->RenuntBut->click();
    });
    dialog.EditSeller(true, true);
}

TEST_F(SellerDialog, EarlierSellersAndCapacitiesAreWhatTheirStatementsGive)
{
    // Names from every corner of the Romanian order, in several cases, with
    // and without codes; "Ș" is stored as "Ş". Lines 30 and 31 are deleted.
    struct Line {
        int idv;
        const char *name;
        const char *code;
        const char *capacity;
    };
    const std::vector<Line> lines = {
        {1, "POPA ANA", "2800101221145", "avocat"}, {2, "Popa Ana", "", "Avocat"},
        {3, "popa ana", nullptr, "imputernicit"},   {4, "ŞERBAN ION", "", "împuternicit"},
        {5, "ȘERBAN ION", "", nullptr},            {6, "SERBAN ION", "", "părinte"},
        {7, "ŢUŢU", "", nullptr},                   {8, "TUDOR", "", ""},
        {9, "ANA", "", nullptr},                    {10, "ĂNA", "", nullptr},
        {11, "ÂNA", "", nullptr},                   {12, "ANAMARIA", "", nullptr},
        {13, "ÎON", "", nullptr},                   {14, "ION", "", nullptr},
        {15, "ÉVA", "", nullptr},                   {16, "EVA", "", nullptr},
        {17, " ZORO", "", nullptr},                 {18, "S.C. AGRO-2000 S.R.L.", "RO 1234565", "tutore"},
        {19, "123 SRL", "", nullptr},               {20, nullptr, "1800101221144", nullptr},
        {21, "", nullptr, "   "},                   {22, "POPA ANA", "2800101221145", "tutore"},
        {23, "POPA ANA", "1800101221144", nullptr}, {30, "POPA ANA", "2800101221145", "sters"},
        {31, "STERS", "", "sters"},                 {24, "ION", "", "avocat"},
    };
    const auto text = [](const char *s) { return s ? QVariant(QString::fromUtf8(s)) : QVariant(); };
    for (const Line &l : lines)
        database().exec("INSERT INTO " + QuotedTablePath("Vanzatori.dbf")
                            + " (IDV, VANZATOR, CNPCUI, MCALITATE) VALUES (?, ?, ?, ?)",
                        {l.idv, text(l.name), text(l.code), text(l.capacity)});
    database().exec("DELETE FROM " + QuotedTablePath("Vanzatori.dbf") + " WHERE IDV IN (30, 31)");

    // The list: the names and newest lines of the statement. One name with
    // two codes stands twice, in the order of its first lines; so does the
    // empty name, alone and with a code.
    const QList<EarlierSeller> sellers = EarlierSellers();
    QStringList names;
    std::map<QString, std::vector<qlonglong>> newest;
    for (const EarlierSeller &s : sellers) {
        names << s.name;
        newest[s.name].push_back(s.idv);
    }
    EXPECT_EQ(names, QStringList({"", "", " ZORO", "123 SRL", "ANA", "ANAMARIA", "ĂNA", "ÂNA", "EVA", "ÉVA", "ION",
                                  "ÎON", "POPA ANA", "POPA ANA", "Popa Ana", "popa ana", "S.C. AGRO-2000 S.R.L.",
                                  "SERBAN ION", "ŞERBAN ION", "TUDOR", "ŢUŢU"}));
    EXPECT_EQ(newest["POPA ANA"], std::vector<qlonglong>({22, 23}));
    EXPECT_EQ(newest["ŞERBAN ION"], std::vector<qlonglong>({5}));
    EXPECT_EQ(newest["ION"], std::vector<qlonglong>({24}));
    sqlstore::Query q = database().query("SELECT MAX(IDV) AS IDV, VANZATOR, CNPCUI FROM "
                                         + QuotedTablePath("Vanzatori.dbf")
                                         + " GROUP BY VANZATOR, CNPCUI ORDER BY VANZATOR");
    QStringList statementNames;
    std::map<QString, std::vector<qlonglong>> statementNewest;
    for (q.first(); !q.eof(); q.next()) {
        statementNames << q.value(1).toString();
        statementNewest[q.value(1).toString()].push_back(q.value(0).toLongLong());
    }
    for (auto &entry : newest)
        std::sort(entry.second.begin(), entry.second.end());
    for (auto &entry : statementNewest)
        std::sort(entry.second.begin(), entry.second.end());
    EXPECT_EQ(names, statementNames);
    EXPECT_EQ(newest, statementNewest);

    // The capacities: the distinct non-empty ones, sorted.
    EXPECT_EQ(MandataryCapacities(),
              QStringList({"Avocat", "avocat", "imputernicit", "împuternicit", "părinte", "tutore"}));
    EXPECT_EQ(MandataryCapacities(), FillDistinctList(TablePath("Vanzatori.dbf"), QString(), "MCALITATE"));

    // A line stored since is in both.
    database().exec("INSERT INTO " + QuotedTablePath("Vanzatori.dbf")
                        + " (IDV, VANZATOR, MCALITATE) VALUES (40, 'ADAM', 'curator')");
    EXPECT_EQ(EarlierSellers().at(4).name, "ADAM");
    EXPECT_TRUE(MandataryCapacities().contains("curator"));
}

TEST_F(SellerDialog, CompanyCodeCheckedAtTheField)
{
    TAltiVanz dialog(nullptr, &prompter);
    whenDialogOpens<TAltiVanz>([this](TAltiVanz *d) {
        d->CNPCUI->setText("RO 1234566");
        d->MemoBut->click();
        ASSERT_EQ(prompter.balloons.size(), 1);
        EXPECT_EQ(prompter.balloons[0].text, "CUI incorect!");
        EXPECT_EQ(prompter.balloons[0].control, "CNPCUI");
        EXPECT_TRUE(d->isVisible());
        d->CNPCUI->setText("RO 1234565");
        d->MCNPCUI->setText("123");
        d->MemoBut->click();
        ASSERT_EQ(prompter.balloons.size(), 2);
        EXPECT_EQ(prompter.balloons[1].control, "MCNPCUI");
        d->MCNPCUI->clear();
        d->MemoBut->click();
    });
    ASSERT_TRUE(dialog.EditSeller(true, false));
    EXPECT_EQ(dialog.sellerLine().cnpcui, "RO 1234565");
}

using HolderDialogs = DialogTest;

TEST_F(HolderDialogs, RanksAsWrittenAndTheirHint)
{
    const QStringList &ranks = RankTexts();
    ASSERT_EQ(ranks.size(), 7);
    EXPECT_TRUE(ranks[5].endsWith("vecine "));
    EXPECT_TRUE(ranks[4].contains("\"Brazdaru\""));
    EXPECT_TRUE(ranks[6].startsWith("VII- Statul roman"));
    TAddPree dialog(nullptr, &prompter);
    EXPECT_EQ(dialog.Rang->count(), 7);
    dialog.Rang->setCurrentIndex(3);
    EXPECT_EQ(dialog.Rang->toolTip(), ranks[3]);
    EXPECT_EQ(dialog.Nume->palette().color(QPalette::Base), QColor(237, 236, 197));
    dialog.Posta->setChecked(true);
    EXPECT_EQ(dialog.Adresa->palette().color(QPalette::Base), QColor(237, 236, 197));
    dialog.Posta->setChecked(false);
    EXPECT_NE(dialog.Adresa->palette().color(QPalette::Base), QColor(237, 236, 197));
}

TEST_F(HolderDialogs, AddKeepsThePersonKindAndModifyDoesNotAskAboutItsOwnName)
{
    TAddPree dialog(nullptr, &prompter);
    QStringList asked;
    dialog.setNameTaken([&asked](const QString &name, qlonglong except) {
        asked << name + "/" + QString::number(except);
        return name == "POPA" && except != 9;
    });
    dialog.TipPF->setCurrentIndex(1);
    whenDialogOpens<TAddPree>([this](TAddPree *d) {
        EXPECT_EQ(d->TitleL->text(), "Adaugare Preemptor");
        EXPECT_EQ(d->TipPF->currentText(), "JURIDICA");
        EXPECT_EQ(d->Rang->currentIndex(), 0);
        d->Nume->setText("POPA");
        prompter.answer(ResultNo);
        d->MemoBut->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(d->MemoBut->isEnabled());
        d->RenuntBut->click();
    });
    EXPECT_FALSE(dialog.EditHolder(QString()));
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Verificare Preemptor");

    HolderLine own;
    own.nume = "POPA";
    own.idp = 9;
    dialog.ClearHolderFields();
    dialog.LoadHolderLine(own);
    whenDialogOpens<TAddPree>([](TAddPree *d) {
        EXPECT_EQ(d->TitleL->text(), "Modificare Preemptor");
        d->MemoBut->click();
    });
    EXPECT_TRUE(dialog.EditHolder("9"));
    EXPECT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(asked.last(), "POPA/9");
}

TEST_F(HolderDialogs, RequestChooserListsOthersNewestFirstAndFollowsWithTheHolders)
{
    TSelCerere chooser(nullptr, &prompter);
    QString chosen;
    EXPECT_FALSE(chooser.ChooseSourceRequest("-1", chosen));
    ASSERT_EQ(prompter.calls, QStringList{"Mesaj Copiere Preemptori: \rNu aveti nicio Cerere introdusa!"});

    tablefixture::addRequest(1, 10, 1, QDate(2025, 1, 5), 0, "N", "VECHI");
    tablefixture::addRequest(2, 11, 2, QDate(2025, 2, 5), 0, "N", "NOU");
    tablefixture::addRequest(3, 12, 3, QDate(2025, 3, 5), 0, "N", "CURENT");
    database().exec("INSERT INTO " + QuotedTablePath("Preemptori.dbf")
                        + " (IDP, ID, RANG, NUME, POSTA) VALUES (1, 1, 1, 'RUDA', 'DA'), (2, 2, 3, 'VECIN', 'NU'), (3, 2, 2, 'ARENDAS', 'DA')");
    whenDialogOpens<TSelCerere>([](TSelCerere *d) {
        ASSERT_EQ(d->Ax->rowCount(), 2);
        EXPECT_EQ(d->Ax->queryModel()->cellText(0, 0), "11");
        EXPECT_EQ(d->Ax->queryModel()->cellText(0, 5), "NOU");
        EXPECT_EQ(d->Ax->queryModel()->cellText(1, 1), "05.01.2025");
        ASSERT_EQ(d->Px->rowCount(), 2);
        EXPECT_EQ(d->Px->queryModel()->cellText(0, 2), "ARENDAS");
        EXPECT_EQ(d->Px->queryModel()->cellText(0, 4), "X");
        d->Ax->setCurrentRow(1);
        ASSERT_EQ(d->Px->rowCount(), 1);
        EXPECT_EQ(d->Px->queryModel()->cellText(0, 2), "RUDA");
        d->MemoBut->click();
    });
    ASSERT_TRUE(chooser.ChooseSourceRequest("3", chosen));
    EXPECT_EQ(chosen, "1");
    whenDialogOpens<TSelCerere>([](TSelCerere *d) {
        EXPECT_EQ(d->Ax->rowCount(), 3);
        d->RenuntBut->click();
    });
    EXPECT_FALSE(chooser.ChooseSourceRequest("-1", chosen));
}

TEST_F(HolderDialogs, HoldersWithoutACommunicationAndTheWinner)
{
    tablefixture::addRequest(1, 10, 1, QDate(2025, 1, 5), 0, "N", "V");
    database().exec("INSERT INTO " + QuotedTablePath("Preemptori.dbf")
                        + " (IDP, ID, RANG, NUME) VALUES (1, 1, 1, 'RUDA'), (2, 1, 3, 'VECIN'), (3, 2, 1, 'ALTA CERERE')");
    tablefixture::addCommunication(1, 1, 11, QDate(2025, 1, 9), "RUDA");
    // A communication without a buyer leaves out no holder.
    database().exec("INSERT INTO " + QuotedTablePath("Comunicari.dbf") + " (IDC, ID, NR) VALUES (2, 1, 12)");
    TSelPreeF holders;
    whenDialogOpens<TSelPreeF>([](TSelPreeF *d) {
        ASSERT_EQ(d->Px->rowCount(), 1);
        EXPECT_EQ(d->Px->queryModel()->cellText(0, 2), "VECIN");
        EXPECT_TRUE(d->MemoBut->isEnabled());
        d->MemoBut->click();
    });
    ASSERT_TRUE(holders.ChooseOpenHolder("1"));
    EXPECT_EQ(holders.chosenHolder().nume, "VECIN");
    tablefixture::addCommunication(3, 1, 13, QDate(2025, 1, 10), "VECIN");
    whenDialogOpens<TSelPreeF>([](TSelPreeF *d) {
        EXPECT_EQ(d->Px->rowCount(), 0);
        EXPECT_FALSE(d->MemoBut->isEnabled());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(holders.ChooseOpenHolder("1"));

    TAlegePree winner;
    winner.setList(database().query("SELECT * FROM " + QuotedTablePath("Comunicari.dbf") + " WHERE CUMPARATOR IS NOT NULL ORDER BY NR"));
    whenDialogOpens<TAlegePree>([](TAlegePree *d) {
        EXPECT_EQ(d->windowTitle(), "Alegere Ofertant");
        d->Cx->setCurrentRow(1);
        d->MemoBut->click();
    });
    ASSERT_TRUE(winner.ChooseWinner(false));
    EXPECT_EQ(winner.list().value("CUMPARATOR").toString(), "VECIN");
    whenDialogOpens<TAlegePree>([](TAlegePree *d) {
        EXPECT_EQ(d->windowTitle(), "Alegere Preemptor");
        d->RenuntBut->click();
    });
    EXPECT_FALSE(winner.ChooseWinner(true));
}

using RequestDialog = DialogTest;

TEST_F(RequestDialog, EmptySellerGridStopsTheSaveAtItsTab)
{
    TAddCerere dialog(nullptr, &prompter);
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        EXPECT_EQ(d->TitleL->text(), "Adaugare Cerere");
        EXPECT_EQ(d->Pages->currentIndex(), 0);
        EXPECT_FALSE(d->EditVanzB->isEnabled());
        EXPECT_FALSE(d->DelVanzB->isEnabled());
        EXPECT_FALSE(d->EditB->isEnabled());
        EXPECT_FALSE(d->DelB->isEnabled());
        EXPECT_EQ(dialogFiles(folder.path()), (QStringList{"TmpPre0.DBF", "TmpVanz0.DBF"}));
        d->Supraf->setText("0");
        d->MemoBut->click();
        EXPECT_EQ(d->Pages->currentIndex(), 1);
        EXPECT_TRUE(prompter.balloons.isEmpty());
        EXPECT_EQ(prompter.calls, QStringList{"Mesaj Memorare Cerere: \rNu ati adaugat niciun vanzator!"});
        d->RenuntBut->click();
    });
    EXPECT_FALSE(dialog.OpenRequestDialog("-1", true));
    EXPECT_TRUE(dialogFiles(folder.path()).isEmpty());
}

TEST_F(RequestDialog, NewRequestDefaultsAndTheSavedValues)
{
    SetNextNumber("NR", 70000);
    WriteSetting(session().workstationUser, "FUNCTIONAR", "IONESCU");
    WriteSetting("TEMP", "TIPPFV", "1");
    TAddCerere dialog(nullptr, &prompter);
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        EXPECT_EQ(d->Nr->text(), "7");
        EXPECT_EQ(d->DataC->date(), QDate::currentDate());
        EXPECT_EQ(d->TipPFV->currentText(), "JURIDICA");
        EXPECT_EQ(d->Functionar->text(), "IONESCU");
        EXPECT_EQ(d->Categ->currentText(), "Teren arabil");
        EXPECT_EQ(d->Categ->count(), 11);
        EXPECT_EQ(d->Supraf->text(), "0");
        EXPECT_EQ(d->NrCAD->text(), "0");
        EXPECT_EQ(d->Litigii->currentText(), "NU");
        // Three seller lines through the seller dialog.
        for (const char *name : {"AGRO SRL", "AGRO DOI SRL", "AGRO TREI SRL"}) {
            whenDialogOpens<TAltiVanz>([name](TAltiVanz *s) {
                s->Vanzator->setEditText(name);
                s->CNPCUI->clear();
                s->MemoBut->click();
            }, d);
            d->AddVanzB->click();
        }
        EXPECT_EQ(d->NrV->text(), "3");
        EXPECT_EQ(d->Vx->rowCount(), 3);
        EXPECT_EQ(d->Vx->currentRow(), 2);
        EXPECT_TRUE(d->EditVanzB->isEnabled());
        d->Supraf->setText("2.5");
        d->Cota1->setText("1");
        d->Cota2->setText("3");
        EXPECT_EQ(d->CotaParteS->text(), "0.8333");
        d->Pret->setText("1500.50");
        d->Functionar->setText("Popescu  \"Maria\"");
        d->MemoBut->click();
    });
    ASSERT_TRUE(dialog.OpenRequestDialog("-1", true));
    const RequestFields f = dialog.requestFields();
    EXPECT_EQ(f.nrV, "1"); // a legal person counts as one seller
    EXPECT_EQ(f.pret, "1500.5");
    EXPECT_EQ(dialog.ShareText(), "1/3");
    EXPECT_EQ(dialog.holderCount(), 0);
    EXPECT_EQ(ReadSetting(session().workstationUser, "FUNCTIONAR"), "Popescu Maria");
    EXPECT_EQ(ReadSetting("TEMP", "TIPPFV"), "1");
    const QList<SellerLine> lines = SellerLines(dialog.workingTables());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2].vanzator, "AGRO TREI SRL");
    EXPECT_EQ(lines[2].nrcrt, 3);
    dialog.DropTables();
    EXPECT_TRUE(dialogFiles(folder.path()).isEmpty());
}

TEST_F(RequestDialog, DeletingTheSecondOfFourSellersRenumbers)
{
    TAddCerere dialog(nullptr, &prompter);
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        for (const char *name : {"UNU", "DOI", "TREI", "PATRU"}) {
            whenDialogOpens<TAltiVanz>([name](TAltiVanz *s) {
                s->Vanzator->setEditText(name);
                s->CNPCUI->clear();
                s->MemoBut->click();
            }, d);
            d->AddVanzB->click();
        }
        ASSERT_EQ(d->Vx->rowCount(), 4);
        d->Vx->setCurrentRow(1);
        prompter.answer(ResultYes);
        d->DelVanzB->click();
        EXPECT_EQ(prompter.questions.last().text, "\rDoriti sa stergeti vanzatorul DOI ?");
        EXPECT_EQ(d->NrV->text(), "3");
        EXPECT_EQ(d->Vx->queryModel()->cellText(0, 1), "UNU");
        EXPECT_EQ(d->Vx->queryModel()->cellText(1, 0), "2");
        EXPECT_EQ(d->Vx->queryModel()->cellText(1, 1), "TREI");
        EXPECT_EQ(d->Vx->queryModel()->cellText(2, 0), "3");
        EXPECT_EQ(d->Vx->queryModel()->cellText(2, 1), "PATRU");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.OpenRequestDialog("-1", true));
    EXPECT_TRUE(dialogFiles(folder.path()).isEmpty());
}

TEST_F(RequestDialog, OlderRequestRefusesHolderChangesButModifies)
{
    tablefixture::addRequest(1, 10, 1, QDate(2025, 1, 5), 0, "N", "VANZATOR");
    tablefixture::addRequest(2, 11, 2, QDate(2025, 2, 5), 0, "N", "ALTUL");
    database().exec("UPDATE " + QuotedTablePath("Cereri.dbf")
                        + " SET SUPRAF='3.75', COTAPARTE='5/2', COTAPARTES='3.75', PRET=900, TIPPF='FIZICA', FARACONTR='X',"
                          " NRCAD='12', NRCARTE='34', CATEG='Vii', FUNCTIONAR='ION', NRV=1, LITIGII='DA', GREVAT='NU' WHERE ID=1");
    database().exec("INSERT INTO " + QuotedTablePath("Preemptori.dbf")
                        + " (IDP, ID, RANG, NUME, POSTA, TIPPF) VALUES (4, 1, 3, 'VECIN', 'NU', 'FIZICA')");
    ASSERT_FALSE(IsNewestRequest(1));
    RequestFields stored;
    QString share;
    ASSERT_TRUE(LoadStoredRequest(1, stored, share));
    TAddCerere dialog(nullptr, &prompter);
    dialog.fillFromRequest(stored, share);
    EXPECT_EQ(dialog.Cota1->text(), "1"); // "5/2" loads as 1/1
    EXPECT_EQ(dialog.Cota2->text(), "1");
    EXPECT_EQ(dialog.FaraContr->currentText(), "DA");
    EXPECT_EQ(dialog.Nr->text(), "10");
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        EXPECT_EQ(d->TitleL->text(), "Modificare Cerere");
        EXPECT_EQ(d->Px->rowCount(), 1);
        d->AddB->click();
        d->DelB->click();
        d->AddAllPreB->click();
        ASSERT_EQ(prompter.questions.size(), 3);
        EXPECT_EQ(prompter.questions[0].title, "Adaugare Preemptor");
        EXPECT_EQ(prompter.questions[1].title, "Stergere Preemptor");
        EXPECT_EQ(prompter.questions[2].title, "Copiere Preemptor");
        EXPECT_EQ(d->Px->rowCount(), 1);
        whenDialogOpens<TAddPree>([](TAddPree *h) {
            EXPECT_EQ(h->Nume->text(), "VECIN");
            EXPECT_EQ(h->Rang->currentIndex(), 2);
            h->Nume->setText("VECIN NOU");
            h->Posta->setChecked(true);
            h->Adresa->setText("Str. Ștefan cel Mare 4");
            h->MemoBut->click();
        }, d);
        d->EditB->click();
        EXPECT_EQ(d->Px->queryModel()->cellText(0, 2), "VECIN NOU");
        EXPECT_EQ(d->Px->queryModel()->cellText(0, 4), "X");
        d->MemoBut->click();
    });
    ASSERT_TRUE(dialog.OpenRequestDialog("1", false));
    const QString holders = dialog.workingTables().holders;
    EXPECT_EQ(database().scalar("SELECT NUMEOLD FROM \"" + holders + "\"").toString(), "VECIN");
    EXPECT_EQ(database().scalar("SELECT NUME FROM \"" + holders + "\"").toString(), "VECIN NOU");
    EXPECT_EQ(dialog.holderCount(), 1);
    EXPECT_EQ(dialog.requestFields().nrV, "1");
    dialog.DropTables();
}

TEST_F(RequestDialog, ATextTheTablesCannotHoldIsReportedAndTheDialogStays)
{
    TAddCerere dialog(nullptr, &prompter);
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        whenDialogOpens<TAltiVanz>([](TAltiVanz *s) {
            s->Vanzator->setEditText("LØKKE"); // no Windows-1250 form
            s->CNPCUI->clear();
            s->MemoBut->click();
        }, d);
        d->AddVanzB->click();
        ASSERT_FALSE(prompter.questions.isEmpty());
        EXPECT_EQ(prompter.questions.last().kind, KindError);
        EXPECT_EQ(d->Vx->rowCount(), 0);
        EXPECT_EQ(d->NrV->text(), "0");
        EXPECT_TRUE(d->isVisible());
        d->RenuntBut->click();
    });
    EXPECT_FALSE(dialog.OpenRequestDialog("-1", true));
}

TEST_F(RequestDialog, TheCloseBoxCancels)
{
    TAddCerere dialog(nullptr, &prompter);
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        EXPECT_EQ(dialogFiles(folder.path()).size(), 2);
        d->close();
    });
    EXPECT_FALSE(dialog.OpenRequestDialog("-1", true));
    EXPECT_TRUE(dialogFiles(folder.path()).isEmpty());
}

TEST_F(RequestDialog, AKilledCopyLeavesTablesTheNextStartRemoves)
{
    QProcess copy;
    copy.start(testsupport::binary("request_dialog_holder"), {folder.path()});
    ASSERT_TRUE(copy.waitForStarted(10000));
    while (!copy.canReadLine() && copy.waitForReadyRead(10000)) {
    }
    ASSERT_EQ(copy.readLine().trimmed(), "held");
    EXPECT_EQ(dialogFiles(folder.path()).size(), 2);
    EXPECT_EQ(RemoveStaleWorkingTables(folder.path()), 0); // that copy still works on them
    copy.kill();
    ASSERT_TRUE(copy.waitForFinished(10000));
    EXPECT_EQ(RemoveStaleWorkingTables(folder.path()), 2);
    EXPECT_TRUE(dialogFiles(folder.path()).isEmpty());
}
