// The register window with the real request dialog: adding a request through
// "&Adauga Cerere" and editing it as the last request through "&Modifica
// Cerere" write the tables, select the request and drop the working tables.
#include "../dialogs/dialogtesting.h"

#include "datastore/settings.h"
#include "dialogs/bandedgrid.h"
#include "dialogs/taddcerere.h"
#include "dialogs/taltivanz.h"
#include "dialogs/tnumericf.h"
#include "register/tevidente.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using sqlstore::database;

namespace {

QStringList workingTableFiles(const QString &folder)
{
    return QDir(folder).entryList({"Tmp*.DBF"}, QDir::Files);
}

qlonglong count(const QString &file)
{
    return database().scalar("SELECT COUNT(*) FROM " + QuotedTablePath(file)).toLongLong();
}

// Saves; a dialog that refuses is closed, so that the test fails instead of
// waiting.
void saveOrGiveUp(TAddCerere *d, ScriptedPrompter &prompter)
{
    d->MemoBut->click();
    if (d->isVisible()) {
        ADD_FAILURE() << "the request dialog refused to save: " << prompter.calls.join(" | ").toStdString();
        d->reject();
    }
}

} // namespace

TEST_F(DialogTest, AddingAndEditingThroughTheRequestDialog)
{
    WriteSetting("TEMP", "TIPPFV", "1");
    TEvidente window(prompter);
    window.OpenDatasets();
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        whenDialogOpens<TAltiVanz>([](TAltiVanz *s) {
            s->Vanzator->setEditText("AGRO SRL");
            s->CNPCUI->clear();
            s->MemoBut->click();
        }, d);
        d->AddVanzB->click();
        d->NrDosar->setText("D-7");
        d->Supraf->setText("2.5");
        d->Pret->setText("1500");
        d->Functionar->setText("IONESCU");
        saveOrGiveUp(d, prompter);
    });
    window.AddCerereB->click();
    ASSERT_EQ(count("Cereri.dbf"), 1);
    EXPECT_EQ(window.TotCerL->text(), "1");
    const qlonglong id = window.currentRequestId();
    EXPECT_EQ(id, database().scalar("SELECT ID FROM " + QuotedTablePath("Cereri.dbf")).toLongLong());
    EXPECT_EQ(window.CxGrid->rowCount(), 4);
    EXPECT_GE(window.VanzatorC->findText("AGRO SRL"), 1);
    ASSERT_FALSE(prompter.balloons.isEmpty());
    EXPECT_EQ(prompter.balloons.last().text, "Listati Procesul verbal de afisare\rNotificarile si Adresa de inaintare!");
    EXPECT_TRUE(workingTableFiles(folder.path()).isEmpty());

    prompter.answer(ResultYes);
    whenDialogOpens<TAddCerere>([this](TAddCerere *d) {
        EXPECT_EQ(d->NrDosar->text().trimmed(), "D-7");
        d->NrDosar->setText("D-8");
        saveOrGiveUp(d, prompter);
    });
    window.EditCerereB->click();
    EXPECT_EQ(prompter.questions.last().text,
              "ATENTIE !\rSe vor sterge Comunicarile/Ofertele introduse si actele aferente!\rContinuati?");
    EXPECT_EQ(database().scalar("SELECT NRDOSAR FROM " + QuotedTablePath("Cereri.dbf")).toString().trimmed(), "D-8");
    EXPECT_EQ(window.currentRequestId(), id);
    EXPECT_EQ(count("AlteActe.dbf"), 4);
    EXPECT_EQ(count("Vanzatori.dbf"), 1);
    EXPECT_TRUE(workingTableFiles(folder.path()).isEmpty());
}
