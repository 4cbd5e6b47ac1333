// The register window on real tables, offscreen: what it shows for an empty
// register and for requests of both stages, the search, the wiring of the
// cancel and reactivate buttons, and screenshots for a person to look at.
#include "registertesting.h"

#include "dialogs/bandedgrid.h"
#include "register/tevidente.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace registertest;
using sqlstore::database;

namespace {

const QDate kToday(2025, 3, 20);

class WindowTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        window.setToday(kToday);
        window.resize(1360, 740);
    }

    // Requests of a busy spring: stage I waiting, stage I expired, stage II
    // with an offer, closed and cancelled files.
    void fillRealisticData()
    {
        const QStringList sellers = {"POPESCU ION", "IONESCU MARIA", "D'ANGELO ANA", "GEORGESCU VASILE",
                                     "STAN ELENA", "MUNTEANU PETRE", "DUMITRU FLOAREA", "CONSTANTIN GH."};
        for (int i = 0; i < sellers.size(); ++i) {
            const qlonglong id = add(QDate(2025, 1, 3).addDays(i * 9), {sellers[i]},
                                     {{"ASOCIATIA VECINI", 1, i % 2 == 0}, {"STATUL ROMAN PRIN ADS", 7, true}});
            if (i == 1)
                database().exec("UPDATE " + QuotedTablePath("Cereri.dbf") + " SET STARE=2 WHERE ID=?", {id});
            if (i == 2) {
                SetRequestStage(id, true);
                SetRequestState(id, 1);
                database().exec("INSERT INTO " + QuotedTablePath("Comunicari.dbf")
                                    + " (IDC, ID, NR, NR2PER, DATAC, CUMPARATOR, LOC, PRET, RANG) VALUES "
                                      "(900, ?, 500, 8, ?, 'AGRO SRL', 'ARVENA', 26000, 100)",
                                {id, kToday.addDays(-2)});
            }
            if (i == 4)
                SetRequestState(id, 4);
        }
    }

    void shot(const QString &name)
    {
        window.show();
        QApplication::processEvents();
        const QString path = testsupport::outputFolder("register") + "/" + name + ".png";
        EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
    }

    TEvidente window{prompter};
};

} // namespace

TEST_F(WindowTest, AnEmptyRegisterHidesTheStatusPanelAndCountsNoRequest)
{
    window.OpenDatasets();
    EXPECT_EQ(window.TotCerL->text(), "0");
    EXPECT_TRUE(window.StatusPanel->isHidden());
    EXPECT_FALSE(window.EditCerereB->isEnabled());
    EXPECT_FALSE(window.ReactivB->isEnabled());
    EXPECT_EQ(window.BxGrid->rowCount(), 0);
    EXPECT_EQ(window.CxGrid->rowCount(), 0);
    EXPECT_EQ(window.windowTitle(), "Evidenta Cereri pentru afisarea ofertei");
    shot("register-empty");
}

TEST_F(WindowTest, RequestsOfBothStagesShowTheirStatusAndCaptions)
{
    fillRealisticData();
    window.OpenDatasets();
    EXPECT_EQ(window.TotCerL->text(), "8");
    // The last request is selected: stage I, waiting.
    EXPECT_EQ(window.currentRequestRow(), 7);
    EXPECT_FALSE(window.StatusPanel->isHidden());
    EXPECT_TRUE(window.StareL->text().startsWith("Asteptam Comunicari inca ")) << window.StareL->text().toStdString();
    EXPECT_EQ(window.ComTitleL->text(), "  Comunicari de acceptare");
    EXPECT_EQ(window.CxGrid->rowCount(), 6);
    EXPECT_FALSE(window.BxGrid->isColumnHidden(5));
    // An open file shows every button of its answers and acts.
    for (QPushButton *b : {window.ListAct, window.ListCerereB, window.AddComunB, window.AddAct, window.EditAct,
                           window.DelAct, window.EditComunB})
        EXPECT_FALSE(b->isHidden()) << b->objectName().toStdString();
    shot("register-stage1");

    window.AxGrid->selectRow(2);
    EXPECT_EQ(window.ComTitleL->text(), "  Oferte de cumparare");
    EXPECT_EQ(window.AddComunB->text(), "Adauga Oferta");
    EXPECT_TRUE(window.BxGrid->isColumnHidden(5));
    EXPECT_EQ(window.BxGrid->rowCount(), 1);
    EXPECT_TRUE(window.StareL->text().startsWith("Asteptam Ofertanti inca ")) << window.StareL->text().toStdString();
    shot("register-stage2");

    window.AxGrid->selectRow(0);
    EXPECT_EQ(window.StareL->text(), "S-a incheiat etapa I. Eliberati P.V.incheiere etapa!");
    EXPECT_EQ(window.FinBut->text(), "Adauga PV incheiere etapa I");
    EXPECT_FALSE(window.FinBut->isHidden());
    window.AxGrid->selectRow(1);
    EXPECT_EQ(window.StareL->text(), "Inchis, cu Comunicare.");
    EXPECT_TRUE(window.FinBut->isHidden());
    EXPECT_FALSE(window.EditCerereB->isEnabled());
}

TEST_F(WindowTest, TheSearchFollowsTheSellerAndTheNumber)
{
    fillRealisticData();
    window.OpenDatasets();
    const int apostrophe = window.VanzatorC->findText("D'ANGELO ANA");
    ASSERT_GT(apostrophe, 0);
    EXPECT_EQ(window.VanzatorC->itemText(0), "* indiferent *");
    window.VanzatorC->setCurrentIndex(apostrophe);
    EXPECT_EQ(window.TotCerL->text(), "1");
    const QString nr = requestValue(1, "NR").toString();
    window.NrC->setText(nr);
    EXPECT_EQ(window.TotCerL->text(), "1");
    EXPECT_EQ(window.currentRequestId(), 1);
    window.NrC->clear();
    window.VanzatorC->setCurrentIndex(0);
    EXPECT_EQ(window.TotCerL->text(), "8");
}

TEST_F(WindowTest, CancelAndReactivateThroughTheButtons)
{
    fillRealisticData();
    window.OpenDatasets();
    const qlonglong id = window.currentRequestId();
    prompter.answer(ResultYes);
    window.StopCB->click();
    EXPECT_EQ(window.currentRequestId(), id);
    EXPECT_EQ(window.StareL->text(), "Inchis din alte motive (deces, cerere retragere, etc).");
    EXPECT_TRUE(window.ReactivB->isEnabled());
    EXPECT_FALSE(window.StopCB->isEnabled());
    EXPECT_EQ(window.CxGrid->rowCount(), 9);
    sqlstore::Query &acts = window.CxGrid->queryModel()->query();
    EXPECT_EQ(acts.valueAt(window.CxGrid->currentRow(), acts.fieldIndex("BLOCAT")).toString().trimmed(), "18");
    EXPECT_EQ(prompter.balloons.last().text, "Listati P.V. de Anulare procedura\rsi Adresa de Anulare procedura!");
    prompter.answer(ResultYes);
    window.ReactivB->click();
    EXPECT_EQ(requestValue(id, "STARE").toInt(), 0);
    EXPECT_TRUE(window.StopCB->isEnabled());
    window.SetState(1);
    EXPECT_EQ(requestValue(id, "STARE").toInt(), 1);
    EXPECT_EQ(window.NextFileNumber(), 10);
}

TEST_F(WindowTest, EscClosesTheRegisterAndItsDatasets)
{
    fillRealisticData();
    // Esc once the register is the modal window (opening it lets events run).
    auto pressEsc = std::make_shared<std::function<void(int)>>();
    *pressEsc = [this, pressEsc](int tries) {
        if (QApplication::activeModalWidget() != &window && tries > 0) {
            QTimer::singleShot(10, [pressEsc, tries] { (*pressEsc)(tries - 1); });
            return;
        }
        QTest::keyClick(&window, Qt::Key_Escape);
    };
    QTimer::singleShot(0, [pressEsc] { (*pressEsc)(500); });
    window.OpenRegister();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.currentRequestRow(), -1);
    EXPECT_EQ(window.requests().rowCount(), 0);
}

TEST_F(WindowTest, AMoveThatArrivesWhileTheStatusIsRefreshedIsShownOnceMore)
{
    fillRealisticData();
    window.OpenDatasets();
    // The refresh lets pending events run; the move queued here lands inside it.
    QTimer::singleShot(0, [this] { window.AxGrid->selectRow(1); });
    window.AxGrid->selectRow(0);
    EXPECT_EQ(window.currentRequestRow(), 1);
    EXPECT_EQ(window.StareL->text(), "Inchis, cu Comunicare.");
    EXPECT_EQ(window.NrSL->text(), window.requests().columns(1).NRS);
}
