// The communication and other-act dialogs: their save checks in order as a
// table of cases, the price kept exactly by Comunicari, the price shown when
// an answer is modified, "Alege din Cerere", the direction switch of an act,
// and screenshots under build/test-output/register.
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "dialogs/answerchecks.h"
#include "dialogs/bandedgrid.h"
#include "dialogs/taddaltact.h"
#include "dialogs/taddcomun.h"
#include "dialogs/tcnpedit.h"
#include "dialogs/tnumericf.h"
#include "dialogs/tselpreef.h"
#include "dialogtesting.h"
#include "tablefixture.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

using sqlstore::database;

namespace {

const QDate Day(2025, 10, 20);

AnswerLine goodAnswer()
{
    AnswerLine l;
    l.dataC = Day;
    l.dataAfis = Day;
    l.cumparator = QStringLiteral("  MUNTEANU   ION ");
    l.cnpcui = QStringLiteral("1700303221132");
    l.loc = QStringLiteral("DEALU MARE");
    l.adresa = QStringLiteral("Sat Dealu Mare nr. 40");
    l.pret = QStringLiteral("15000");
    return l;
}

OtherActLine goodAct()
{
    OtherActLine l;
    l.dataA = Day;
    l.dataExp = Day;
    l.modul = QStringLiteral("iesire");
    l.emitent = QStringLiteral("PRIMARIA DEALU MARE");
    l.destinatar = QStringLiteral("Directia Agricola");
    l.tipAct = QStringLiteral("ADRESA");
    return l;
}

void saveRegisterScreenshot(QWidget *window, const QString &name)
{
    const QString path = testsupport::outputFolder(QStringLiteral("register")) + QLatin1Char('/') + name + QStringLiteral(".png");
    EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
    EXPECT_LE(window->frameGeometry().width(), 1366) << name.toStdString();
    EXPECT_LE(window->frameGeometry().height(), 768) << name.toStdString();
}

} // namespace

TEST(AnswerChecks, InTheirOrder)
{
    struct Case {
        const char *what;
        std::function<void(AnswerLine &)> change;
        const char *field, *problem;
    } cases[] = {
        {"all good", [](AnswerLine &) {}, "", ""},
        {"one letter", [](AnswerLine &l) { l.cumparator = " X "; l.cnpcui.clear(); }, "Cumparator",
         "Nu ati scris numele si prenumele!"},
        {"person, empty code", [](AnswerLine &l) { l.cnpcui.clear(); l.loc.clear(); }, "CNPCUI", "CNP incorect!"},
        {"person, wrong code", [](AnswerLine &l) { l.cnpcui = "1700303221131"; }, "CNPCUI", "CNP incorect!"},
        {"company, empty code", [](AnswerLine &l) { l.tippf = "JURIDICA"; l.cnpcui.clear(); }, "CNPCUI", "C.U.I. incorect!"},
        {"company, a person's code", [](AnswerLine &l) { l.tippf = "JURIDICA"; }, "CNPCUI", "C.U.I. incorect!"},
        {"company, good code", [](AnswerLine &l) { l.tippf = "JURIDICA"; l.cnpcui = "1234565"; }, "", ""},
        {"no place", [](AnswerLine &l) { l.loc = "  "; l.adresa.clear(); }, "Loc", "Lipseste Localitatea!"},
        {"no address", [](AnswerLine &l) { l.adresa = "\""; }, "Adresa", "Lipseste Adresa!"},
        {"display a day early", [](AnswerLine &l) { l.dataAfis = Day.addDays(-1); l.pret = "1"; }, "DataAfis",
         "Data Afisarii este ciudata!"},
        {"display later", [](AnswerLine &l) { l.dataAfis = Day.addDays(3); }, "", ""},
        {"a cent below", [](AnswerLine &l) { l.pret = "14999.99"; }, "Pret",
         "Pretul oferit nu poate fi mai mic decat 15000 lei!"},
        {"above", [](AnswerLine &l) { l.pret = "99999.99"; }, "", ""},
        {"100000 and a half", [](AnswerLine &l) { l.pret = "100000.5"; }, "", ""},
        {"eight digits", [](AnswerLine &l) { l.pret = "12345678"; }, "", ""},
        {"too many decimals to keep", [](AnswerLine &l) { l.pret = "100000.55"; }, "Pret",
         "Pretul de 100000.55 lei nu poate fi memorat exact! Scrieti-l cu mai putine zecimale."},
        {"seven digits and a decimal", [](AnswerLine &l) { l.pret = "1234567.5"; }, "Pret",
         "Pretul de 1234567.5 lei nu poate fi memorat exact! Scrieti-l cu mai putine zecimale."},
    };
    for (const Case &c : cases) {
        AnswerLine line = goodAnswer();
        c.change(line);
        const CheckOutcome outcome = CheckAnswer(line, 15000);
        EXPECT_EQ(outcome.passed, QString(c.field).isEmpty()) << c.what;
        EXPECT_EQ(outcome.field, QString(c.field)) << c.what;
        EXPECT_EQ(outcome.problem, QString(c.problem)) << c.what;
        if (outcome.passed) {
            EXPECT_EQ(line.cumparator, "MUNTEANU ION") << c.what;
        }
    }
}

TEST(AnswerChecks, MinimumInItsShortestFormAndPriceCleaned)
{
    AnswerLine line = goodAnswer();
    line.pret = "18500.4";
    EXPECT_EQ(CheckAnswer(line, 18500.5).problem, "Pretul oferit nu poate fi mai mic decat 18500.5 lei!");
    line.pret = "18500.50";
    EXPECT_TRUE(CheckAnswer(line, 18500.5).passed);
    EXPECT_EQ(line.pret, "18500.5");
}

TEST(OtherActChecks, InTheirOrder)
{
    struct Case {
        const char *what;
        bool dispatched;
        std::function<void(OtherActLine &)> change;
        const char *field, *problem;
    } cases[] = {
        {"outgoing, sent the same day", true, [](OtherActLine &) {}, "", ""},
        {"sent the day before", true, [](OtherActLine &l) { l.dataExp = Day.addDays(-1); l.emitent.clear(); }, "DataExp",
         "Data expedierii este amuzanta!"},
        {"not sent, date ignored", false, [](OtherActLine &l) { l.dataExp = Day.addDays(-1); }, "", ""},
        {"no emitent", false, [](OtherActLine &l) { l.emitent = " A "; l.destinatar.clear(); }, "Emitent",
         "Nu ati scris Emitentul!"},
        {"no addressee", false, [](OtherActLine &l) { l.destinatar = "B"; l.tipAct.clear(); }, "Destinatar",
         "Nu ati scris Destinatarul!"},
        {"no type", false, [](OtherActLine &l) { l.tipAct = "  "; }, "TipAct", "Lipseste Tipul actului!"},
    };
    for (const Case &c : cases) {
        OtherActLine line = goodAct();
        c.change(line);
        const CheckOutcome outcome = CheckOtherAct(line, c.dispatched);
        EXPECT_EQ(outcome.field, QString(c.field)) << c.what;
        EXPECT_EQ(outcome.problem, QString(c.problem)) << c.what;
        if (outcome.passed) {
            EXPECT_EQ(line.dataExp, c.dispatched ? Day : QDate(1899, 12, 31)) << c.what;
        }
    }
}

class AnswerDialogs : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        tablefixture::addRequest(2, 57, 13, QDate(2025, 10, 14), 0, "N", "MUNTEANU GHEORGHE");
    }

    // PRET of a communication written with `price`, as the table gives it
    // back; false when the table refuses it.
    bool storedPrice(double price, double *back)
    {
        database().exec("DELETE FROM " + QuotedTablePath("Comunicari.dbf"));
        try {
            database().exec("INSERT INTO " + QuotedTablePath("Comunicari.dbf") + " (IDC, ID, PRET) VALUES (1, 2, ?)", {price});
        } catch (const sqlstore::SqlError &) {
            return false;
        }
        *back = database().query("SELECT PRET FROM " + QuotedTablePath("Comunicari.dbf")).value(0).toDouble();
        return true;
    }
};

TEST_F(AnswerDialogs, PriceFitsAsTheTableKeepsIt)
{
    EXPECT_TRUE(CreateTableStatement("Comunicari.dbf", "x").contains(QRegularExpression("PRET +DECIMAL\\(8,2\\)")));
    for (double price : {0.01, 15000.0, 99999.99, 100000.0, 150000.0, 100000.5, 999999.9, 12345678.0, 100000.55,
                         123456.78, 1234567.5, 123456789.0}) {
        double back = -1;
        const bool stored = storedPrice(price, &back);
        EXPECT_EQ(AnswerPriceFits(price), stored && back == price) << price << " read back as " << back;
    }
}

TEST_F(AnswerDialogs, ModifyShowsTheAnswersOwnPriceAndAddTheMinimum)
{
    TAddComun dialog(nullptr, &prompter);
    dialog.SetAnswerKind(false);
    AnswerLine stored = goodAnswer();
    stored.pret = "152000.5";
    dialog.LoadAnswer(stored);
    QString shown;
    whenDialogOpens<TAddComun>([&shown](TAddComun *d) {
        shown = d->Pret->text();
        d->Adresa->setText("Sat Dealu Mare nr. 41");
        d->MemoBut->click();
        if (d->isVisible())
            d->RenuntBut->click();
    });
    ASSERT_TRUE(dialog.EditCommunication(false, 15000));
    EXPECT_EQ(shown, "152000.5");
    EXPECT_EQ(dialog.answerLine().pret, "152000.5");
    EXPECT_EQ(dialog.TitleL->text(), "Modificare Oferta");
    EXPECT_FALSE(dialog.Rang->isVisibleTo(&dialog));

    dialog.ClearCommunicationFields();
    whenDialogOpens<TAddComun>([&shown](TAddComun *d) {
        shown = d->Pret->text();
        d->RenuntBut->click();
    });
    EXPECT_FALSE(dialog.EditCommunication(true, 18500.5));
    EXPECT_EQ(shown, "18500.5");
    EXPECT_EQ(dialog.windowTitle(), "Oferta de cumparare");
}

TEST_F(AnswerDialogs, UnstorablePriceIsRefusedAtThePriceField)
{
    TAddComun dialog(nullptr, &prompter);
    dialog.SetAnswerKind(false);
    dialog.LoadAnswer(goodAnswer());
    whenDialogOpens<TAddComun>([](TAddComun *d) {
        d->Pret->setText("100000.55");
        d->MemoBut->click();
        EXPECT_TRUE(d->isVisible());
        d->RenuntBut->click();
    });
    EXPECT_FALSE(dialog.EditCommunication(false, 15000));
    ASSERT_EQ(prompter.balloons.size(), 1);
    EXPECT_EQ(prompter.balloons[0].control, "Pret");
    EXPECT_TRUE(prompter.balloons[0].text.contains("nu poate fi memorat exact"));
}

TEST_F(AnswerDialogs, ChoosingAHolderFillsTheBuyer)
{
    database().exec("INSERT INTO " + QuotedTablePath("Preemptori.dbf")
                    + " (IDP, ID, RANG, TIPPF, NUME, ADRESA, CNP) VALUES"
                      " (1, 2, 3, 'JURIDICA', 'AGROFERMA VECINA SRL', 'Str. Morii nr. 2', '1234565')");
    TAddComun dialog(nullptr, &prompter);
    dialog.SetAnswerKind(true);
    dialog.setCurrentRequest("2");
    dialog.Loc->setText("IASI");
    whenDialogOpens<TAddComun>([&dialog](TAddComun *d) {
        whenDialogOpens<TSelPreeF>([](TSelPreeF *s) {
            s->Px->setCurrentRow(0);
            s->MemoBut->click();
        }, d);
        d->SelPree->click();
        d->RenuntBut->click();
    });
    dialog.EditCommunication(true, 100);
    const AnswerLine l = dialog.answerLine();
    EXPECT_EQ(l.tippf, "JURIDICA");
    EXPECT_EQ(l.rang, 3);
    EXPECT_EQ(l.cumparator, "AGROFERMA VECINA SRL");
    EXPECT_EQ(l.cnpcui, "1234565");
    EXPECT_EQ(l.loc, "");
    EXPECT_EQ(l.adresa, "Str. Morii nr. 2");
}

TEST_F(AnswerDialogs, DirectionSwitchAndDispatchDate)
{
    WriteSetting("CONST", "UNITATE", "PRIMARIA DEALU MARE");
    tablefixture::addAct(1, 2, 60, Day, "ADRESA SIT", "");
    tablefixture::addAct(2, 2, 61, Day, "CERERE INFORMATII", "");
    database().exec("UPDATE " + QuotedTablePath("AlteActe.dbf") + " SET MODUL=CASE IDA WHEN 1 THEN 'iesire' ELSE 'intrare' END");
    TAddAltAct dialog(nullptr, &prompter);
    QDate returned;
    whenDialogOpens<TAddAltAct>([](TAddAltAct *d) {
        EXPECT_EQ(d->Modul->currentText(), "intrare");
        EXPECT_EQ(d->Destinatar->text(), "PRIMARIA DEALU MARE");
        EXPECT_FALSE(d->Destinatar->isEnabled());
        EXPECT_FALSE(d->DataExpOk->isVisible());
        EXPECT_EQ(d->TipAct->count(), 1);
        EXPECT_EQ(d->TipAct->itemText(0), "CERERE INFORMATII");
        d->Emitent->setText("OCPI IASI");
        d->TipAct->setEditText("X");

        d->Modul->setCurrentIndex(1);
        EXPECT_EQ(d->Emitent->text(), "PRIMARIA DEALU MARE");
        EXPECT_FALSE(d->Emitent->isEnabled());
        EXPECT_TRUE(d->Destinatar->isEnabled());
        EXPECT_EQ(d->Destinatar->text(), "");
        EXPECT_EQ(d->TipAct->currentText(), "");
        EXPECT_EQ(d->TipAct->itemText(0), "ADRESA SIT");
        EXPECT_TRUE(d->DataExpOk->isVisible());
        EXPECT_FALSE(d->DataExp->isVisible());

        d->Modul->setCurrentIndex(0);
        EXPECT_EQ(d->Emitent->text(), "");
        EXPECT_EQ(d->Destinatar->text(), "PRIMARIA DEALU MARE");
        d->Modul->setCurrentIndex(1);

        d->DataExpOk->click();
        EXPECT_TRUE(d->DataExp->isVisible());
        d->DataA->setDate(QDate::currentDate().addDays(1));
        d->Destinatar->setText("Directia Agricola");
        d->TipAct->setEditText("ADRESA SIT");
        d->MemoBut->click();
        EXPECT_TRUE(d->isVisible());
        d->DataExpOk->click();
        d->MemoBut->click();
        if (d->isVisible())
            d->RenuntBut->click();
    });
    ASSERT_TRUE(dialog.EditOtherAct(true));
    ASSERT_EQ(prompter.balloons.size(), 1);
    EXPECT_EQ(prompter.balloons[0].text, "Data expedierii este amuzanta!");
    EXPECT_EQ(prompter.balloons[0].control, "DataExp");
    const OtherActLine l = dialog.otherActLine();
    EXPECT_EQ(l.modul, "iesire");
    EXPECT_EQ(l.emitent, "PRIMARIA DEALU MARE");
    EXPECT_EQ(l.dataExp, QDate(1899, 12, 31));

    // Modify mode keeps the stored fields, the dispatch date among them.
    OtherActLine stored = goodAct();
    dialog.ClearActFields();
    dialog.LoadOtherAct(stored);
    EXPECT_EQ(dialog.Destinatar->text(), "Directia Agricola");
    EXPECT_EQ(dialog.TipAct->currentText(), "ADRESA");
    EXPECT_TRUE(dialog.DataExpOk->isChecked());
    EXPECT_EQ(dialog.DataExp->date(), Day);
}

TEST_F(AnswerDialogs, Screenshots)
{
    WriteSetting("CONST", "UNITATE", "PRIMARIA DEALU MARE");
    TAddComun answer(nullptr, &prompter);
    answer.SetAnswerKind(true);
    answer.setNumber("57/8");
    whenDialogOpens<TAddComun>([](TAddComun *d) {
        d->Rang->setCurrentIndex(0);
        d->Cumparator->setText("MUNTEANU ION");
        d->CNPCUI->setText("1700303221132");
        d->Loc->setText("DEALU MARE");
        d->Adresa->setText("Sat Dealu Mare nr. 40, jud. Iasi");
        saveRegisterScreenshot(d, "taddcomun");
        d->RenuntBut->click();
    });
    answer.EditCommunication(true, 18500.5);

    TAddAltAct act(nullptr, &prompter);
    act.setNumber("57/12");
    whenDialogOpens<TAddAltAct>([](TAddAltAct *d) {
        d->Modul->setCurrentIndex(1);
        d->DataExpOk->click();
        d->Destinatar->setText("Directia pentru Agricultura Judeteana Iasi");
        d->TipAct->setEditText("ADRESA SIT ARHEOLOGIC");
        d->Detalii->setText("Raspuns la adresa nr. 315/2025");
        saveRegisterScreenshot(d, "taddaltact");
        d->RenuntBut->click();
    });
    act.EditOtherAct(true);
}
