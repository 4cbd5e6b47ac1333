// The register window with its real answer, act and winner dialogs: a
// communication added and edited through "Adauga/Modifica Comunicare", an act
// typed by hand, the decision among two communications through the stage
// button and "&Am ales", and its deletion reopening the file; screenshots of
// the dialogs and of the closed file.
#include "../dialogs/dialogtesting.h"
#include "registertesting.h"

#include "dialogs/bandedgrid.h"
#include "dialogs/taddaltact.h"
#include "dialogs/taddcomun.h"
#include "dialogs/talegepree.h"
#include "dialogs/tcnpedit.h"
#include "dialogs/tnumericf.h"
#include "register/tevidente.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace registertest;
using sqlstore::database;

namespace {

const QDate kDay(2025, 1, 6);

void shot(QWidget *w, const QString &name)
{
    w->show();
    QApplication::processEvents();
    const QString path = testsupport::outputFolder("register") + "/" + name + ".png";
    EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
    EXPECT_LE(w->frameGeometry().width(), 1366) << name.toStdString();
    EXPECT_LE(w->frameGeometry().height(), 768) << name.toStdString();
}

// Types a communication of `name` and saves; a dialog that refuses is closed
// so that the test fails instead of waiting.
void typeCommunication(TAddComun *d, ScriptedPrompter &prompter, const QString &name, const QString &screenshot = {})
{
    d->DataC->setDate(kDay.addDays(10));
    d->DataAfis->setDate(kDay.addDays(11));
    d->Cumparator->setText(name);
    d->CNPCUI->setText("1800101223340");
    d->Loc->setText("Arvena");
    d->Adresa->setText("Str. Morii 4");
    if (!screenshot.isEmpty())
        shot(d, screenshot);
    d->MemoBut->click();
    if (d->isVisible()) {
        ADD_FAILURE() << "the answer dialog refused to save: " << prompter.calls.join(" | ").toStdString();
        d->reject();
    }
}

class WindowAnswersTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        window.setToday(kDay.addDays(20));
        window.resize(1360, 740);
    }
    int stare(qlonglong id) { return requestValue(id, "STARE").toInt(); }

    TEvidente window{prompter};
};

TEST_F(WindowAnswersTest, CommunicationsActsAndTheDecisionThroughTheWindow)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {{"ASOCIATIA VECINI", 1}, {"STATUL ROMAN PRIN ADS", 7}});
    window.OpenDatasets();
    ASSERT_EQ(window.currentRequestId(), id);
    EXPECT_FALSE(window.EditComunB->isEnabled());

    whenDialogOpens<TAddComun>([this](TAddComun *d) {
        EXPECT_EQ(d->windowTitle(), "Comunicare de acceptare");
        EXPECT_EQ(d->Pret->text(), "25000");
        typeCommunication(d, prompter, "IONESCU VASILE", "taddcomun");
    });
    window.AddComunB->click();
    ASSERT_EQ(window.BxGrid->rowCount(), 1);
    EXPECT_EQ(stare(id), 1);
    EXPECT_TRUE(window.StareL->text().startsWith("Asteptam Comunicari inca ")) << window.StareL->text().toStdString();
    EXPECT_EQ(window.CxGrid->rowCount(), 6 + 3);
    EXPECT_TRUE(window.EditComunB->isEnabled());
    EXPECT_EQ(prompter.balloons.last().control, "ListAct");

    // The edit shows the answer's own price, not the request's.
    database().exec("UPDATE " + QuotedTablePath("Comunicari.dbf") + " SET PRET=31000");
    window.RefreshRequests();
    whenDialogOpens<TAddComun>([](TAddComun *d) {
        EXPECT_EQ(d->Pret->text(), "31000");
        EXPECT_EQ(d->Cumparator->text(), "IONESCU VASILE");
        d->Adresa->setText("Str. Noua 1");
        d->MemoBut->click();
        if (d->isVisible())
            d->reject();
    });
    window.EditComunB->click();
    EXPECT_EQ(database().scalar("SELECT PRET FROM " + QuotedTablePath("Comunicari.dbf")).toDouble(), 31000);
    EXPECT_EQ(database().scalar("SELECT ADRESA FROM " + QuotedTablePath("Comunicari.dbf")).toString().trimmed(),
              "Str. Noua 1");

    whenDialogOpens<TAddComun>([this](TAddComun *d) { typeCommunication(d, prompter, "GEORGESCU ANA"); });
    window.AddComunB->click();
    ASSERT_EQ(window.BxGrid->rowCount(), 2);

    // An act typed by hand through "Adauga Act" > "Alte acte".
    whenDialogOpens<TAddAltAct>([](TAddAltAct *d) {
        d->DataA->setDate(kDay.addDays(12));
        d->Modul->setCurrentIndex(d->Modul->findText("intrare"));
        d->Emitent->setText("OCPI Arvena");
        d->TipAct->setEditText("Adresa OCPI");
        d->Detalii->setText("Raspuns la solicitare");
        shot(d, "taddaltact");
        d->MemoBut->click();
        if (d->isVisible())
            d->reject();
    });
    auto *menu = window.findChild<QMenu *>("AddActMenu");
    ASSERT_NE(menu, nullptr);
    menu->actions().at(1)->trigger();
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND BLOCAT=''", {id}) + countOf("AlteActe.dbf", "ID=? AND BLOCAT IS NULL", {id}),
              1);

    // The term passes: the decision, choosing the second communication.
    window.setToday(kDay.addDays(120));
    window.RefreshRequests(id);
    ASSERT_FALSE(window.FinBut->isHidden());
    EXPECT_EQ(window.StareL->text(), "Asteptam Alegere Preemptor...");
    EXPECT_EQ(window.FinBut->text(), "Am Decizia de Alegere");
    const qlonglong second =
        database().scalar("SELECT IDC FROM " + QuotedTablePath("Comunicari.dbf") + " WHERE CUMPARATOR='GEORGESCU ANA'")
            .toLongLong();
    prompter.answer(ResultYes);
    whenDialogOpens<TAlegePree>([](TAlegePree *d) {
        EXPECT_EQ(d->windowTitle(), "Alegere Preemptor");
        EXPECT_EQ(d->Cx->rowCount(), 2);
        d->Cx->setCurrentRow(1);
        d->MemoBut->click();
    });
    window.FinBut->click();
    EXPECT_EQ(stare(id), 2);
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND IDC=? AND (BLOCAT='12' OR BLOCAT='8' OR BLOCAT='13')", {id, second}), 3);
    EXPECT_TRUE(window.ComPanel->isHidden());
    EXPECT_TRUE(window.FinBut->isHidden());
    EXPECT_EQ(window.StareL->text(), "Inchis, cu Comunicare.");
    shot(&window, "register-closed");

    // Deleting the decision (the act selected after the step) reopens the file.
    ASSERT_TRUE(window.DelAct->isEnabled());
    prompter.answer(ResultYes);
    window.DelAct->click();
    EXPECT_EQ(stare(id), 1);
    EXPECT_FALSE(window.ComPanel->isHidden());
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND (BLOCAT='12' OR BLOCAT='8' OR BLOCAT='13')", {id}), 0);
}

} // namespace
