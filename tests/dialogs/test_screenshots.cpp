// Each entry dialog filled with the data of a realistic request, saved as a
// PNG under build/test-output/dialogs for a person to look at (named after
// the dialog class in lower case).
#include "datastore/sql/database.h"
#include "dialogs/bandedgrid.h"
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
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

using sqlstore::database;

namespace {

class Screenshots : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        tablefixture::addRequest(1, 41, 12, QDate(2025, 9, 3), 0, "N", "MUNTEANU GHEORGHE");
        tablefixture::addRequest(2, 57, 13, QDate(2025, 10, 14), 0, "N", "ȚĂRANU ȘTEFANIA");
        database().exec("UPDATE " + QuotedTablePath("Cereri.dbf")
                            + " SET NRDOSAR='2314/B', TIPPF='FIZICA', NRV=2, NRPREE=3, SUPRAF='2.5', COTAPARTE='1/2',"
                              " COTAPARTES='1.25', PRET=18500.5, NRCAD='50123', NRCARTE='50123-C1', TARLA='LA IAZ',"
                              " NRTARLA='12', NRPARC='144/3', CATEG='Teren arabil', FUNCTIONAR='POPESCU MARIA',"
                              " LITIGII='NU', GREVAT='NU', CONDITII='Plata integrala la semnarea contractului.'");
        database().exec("UPDATE " + QuotedTablePath("Vanzatori.dbf")
                            + " SET CNPCUI='1800101221144', LOCV='DEALU MARE', ADRESA='Str. Principala nr. 12',"
                              " JUDET='IASI', BI='CI', BISERIA='MX', BINR='123456', BIELIB='SPCLEP IASI', BIDATA='2019-05-17',"
                              " TEL='0722123456', MANDATAR='IONESCU ANDREI', MCALITATE='imputernicit', MCONFORM='procura 12/2025',"
                              " MCNPCUI='1750505221133', MTEL='0744111222'");
        database().exec("INSERT INTO " + QuotedTablePath("Vanzatori.dbf")
                            + " (IDV, ID, NRCRT, VANZATOR, CNPCUI, LOCV, ADRESA, JUDET, BI, BISERIA, BINR, TEL)"
                              " VALUES (3, 2, 2, 'MUNTEANU ELENA', '2820202221150', 'DEALU MARE', 'Str. Principala nr. 12',"
                              " 'IASI', 'CI', 'MX', '654321', '0733444555')");
        database().exec("INSERT INTO " + QuotedTablePath("Preemptori.dbf")
                            + " (IDP, ID, RANG, POSTA, TIPPF, NUME, ADRESA, CNP, RC, CODPOSTAL, EMAIL, TEL) VALUES"
                              " (1, 2, 1, 'DA', 'FIZICA', 'MUNTEANU ION', 'Sat Dealu Mare nr. 40', '1700303221130', '', '707145', '', '0755000111'),"
                              " (2, 2, 3, 'DA', 'JURIDICA', 'AGROFERMA VECINA SRL', 'Str. Morii nr. 2, Iasi', '1234565', 'J22/123/2010', '700100', 'office@agroferma.ro', '0232111222'),"
                              " (3, 2, 7, 'NU', 'JURIDICA', 'AGENTIA DOMENIILOR STATULUI', 'Bd. Carol I nr. 17, Bucuresti', '', '', '010081', '', '')");
        tablefixture::addCommunication(1, 2, 60, QDate(2025, 10, 20), "MUNTEANU ION");
        database().exec("UPDATE " + QuotedTablePath("Comunicari.dbf")
                            + " SET TIPPF='FIZICA', CNPCUI='1700303221130', LOC='DEALU MARE', ADRESA='Sat Dealu Mare nr. 40', PRET=18500, DATAAFIS='2025-10-15'");
    }
};

} // namespace

TEST_F(Screenshots, RequestDialogTabs)
{
    RequestFields stored;
    QString share;
    ASSERT_TRUE(LoadStoredRequest(2, stored, share));
    TAddCerere dialog(nullptr, &prompter);
    dialog.fillFromRequest(stored, share);
    whenDialogOpens<TAddCerere>([](TAddCerere *d) {
        const char *names[] = {"taddcerere-cerere", "taddcerere-vanzatori", "taddcerere-teren", "taddcerere-preemptori"};
        for (int tab = 0; tab < 4; ++tab) {
            d->Pages->setCurrentIndex(tab);
            saveScreenshot(d, names[tab]);
        }
        d->RenuntBut->click();
    });
    dialog.OpenRequestDialog("2", true);
}

TEST_F(Screenshots, SellerAndHolderDialogs)
{
    TAltiVanz seller(nullptr, &prompter);
    whenDialogOpens<TAltiVanz>([](TAltiVanz *d) {
        const int entry = d->Vanzator->findText("MUNTEANU GHEORGHE");
        d->Vanzator->setCurrentIndex(entry);
        emit d->Vanzator->activated(entry);
        saveScreenshot(d, "taltivanz");
        d->RenuntBut->click();
    });
    seller.EditSeller(true, true);

    TAddPree holder(nullptr, &prompter);
    whenDialogOpens<TAddPree>([](TAddPree *d) {
        d->Rang->setCurrentIndex(2);
        d->TipPF->setCurrentIndex(1);
        d->Nume->setText("AGROFERMA VECINA SRL");
        d->CNP->setText("1234565");
        d->RC->setText("J22/123/2010");
        d->Adresa->setText("Str. Morii nr. 2, Iași");
        d->CodPostal->setText("700100");
        d->Email->setText("office@agroferma.ro");
        d->Tel->setText("0232111222");
        d->Posta->setChecked(true);
        saveScreenshot(d, "taddpree");
        d->RenuntBut->click();
    });
    holder.EditHolder(QString());
}

TEST_F(Screenshots, ChoosingDialogs)
{
    TSelCerere chooser(nullptr, &prompter);
    QString chosen;
    whenDialogOpens<TSelCerere>([](TSelCerere *d) {
        d->Ax->setCurrentRow(0);
        saveScreenshot(d, "tselcerere");
        d->RenuntBut->click();
    });
    chooser.ChooseSourceRequest("-1", chosen);

    TSelPreeF holders;
    whenDialogOpens<TSelPreeF>([](TSelPreeF *d) {
        saveScreenshot(d, "tselpreef");
        d->RenuntBut->click();
    });
    holders.ChooseOpenHolder("2");

    TAlegePree winner;
    winner.setList(database().query("SELECT * FROM " + QuotedTablePath("Comunicari.dbf") + " ORDER BY NR"));
    whenDialogOpens<TAlegePree>([](TAlegePree *d) {
        saveScreenshot(d, "talegepree");
        d->RenuntBut->click();
    });
    winner.ChooseWinner(true);
}
