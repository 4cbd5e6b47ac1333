// The requests of the register with the date fixed: the deadlines of both
// rules, the status line, the rows that are not listed, the search, and a
// refresh that shows this process's and other workstations' writes.
#include "registertesting.h"
#include "tablefixture.h"

#include "datastore/calendar.h"
#include "register/registerstatus.h"
#include "register/requestregister.h"

using namespace registertest;
using sqlstore::database;

namespace {

QString date(int serial)
{
    return serial == 0 ? QString() : FromDaySerial(serial).toString("dd.MM.yyyy");
}

class RequestRegisterTest : public RegisterTest {
protected:
    void openOn(const QDate &today)
    {
        ax.open(LoadRegisterSettings(), today);
    }
    RequestStatus status(int row) const
    {
        return StatusOf(ax.stare(row), ax.pv1(row), ax.columns(row), ax.today());
    }
    RequestRegister ax;
};

struct DeadlineCase {
    const char *name;
    QDate datac;
    int stare;
    const char *pv1;
    QDate today;
    const char *dataScad1, *dataScad2, *dataScad, *expirat;
    const char *status;
};

} // namespace

TEST_F(RequestRegisterTest, DeadlinesAndStatusWithTheDateFixed)
{
    const QList<DeadlineCase> cases = {
        {"old rule, 31 days", QDate(2020, 10, 13), 0, "N", QDate(2020, 11, 14), "", "", "13.11.2020", "X",
         "S-a incheiat etapa I. Eliberati P.V.incheiere etapa!"},
        {"working-day rule from 14.10.2020", QDate(2020, 10, 14), 1, "N", QDate(2020, 10, 20), "22.12.2020",
         "21.01.2021", "22.12.2020", "", "Asteptam Comunicari inca 63 zile. (22.12.2020)"},
        {"3 January 2025, stage I", QDate(2025, 1, 3), 0, "N", QDate(2025, 1, 3), "14.03.2025", "14.04.2025",
         "14.04.2025", "", "Asteptam Comunicari inca 70 zile. (14.03.2025)"},
        {"deadline day of stage I", QDate(2025, 1, 3), 1, "N", QDate(2025, 3, 14), "14.03.2025", "14.04.2025",
         "14.03.2025", "", "Ultima zi de primire Comunicari."},
        {"day after stage I with answers", QDate(2025, 1, 3), 1, "N", QDate(2025, 3, 15), "14.03.2025",
         "14.04.2025", "14.03.2025", "X", "Asteptam Alegere Preemptor..."},
        {"deadline day of stage II, no offer", QDate(2025, 1, 3), 0, "D", QDate(2025, 4, 14), "14.03.2025",
         "14.04.2025", "14.04.2025", "", "Ultima zi de primire Ofertanti."},
        {"deadline day of stage II, offers", QDate(2025, 1, 3), 1, "D", QDate(2025, 4, 14), "14.03.2025",
         "14.04.2025", "14.04.2025", "", "Ultima zi de primire Oferte."},
        {"stage II waiting", QDate(2025, 1, 3), 1, "D", QDate(2025, 4, 4), "14.03.2025", "14.04.2025", "14.04.2025",
         "", "Asteptam Ofertanti inca 10 zile. (14.04.2025)"},
        {"stage II expired, no offer", QDate(2025, 1, 3), 0, "D", QDate(2025, 4, 15), "14.03.2025", "14.04.2025",
         "14.04.2025", "X", "Termen depasit. Puteti elibera P.V.Finalizare!"},
        {"stage II expired, offers", QDate(2025, 1, 3), 1, "D", QDate(2025, 4, 15), "14.03.2025", "14.04.2025",
         "14.04.2025", "X", "Asteptam Alegere Cumparator..."},
        {"closed with communication", QDate(2019, 1, 3), 2, "N", QDate(2025, 4, 15), "", "", "03.02.2019", "",
         "Inchis, cu Comunicare."},
        {"closed without communication", QDate(2025, 1, 3), 3, "D", QDate(2026, 1, 1), "14.03.2025", "14.04.2025",
         "14.04.2025", "", "Inchis Fara Comunicare"},
        {"cancelled", QDate(2025, 1, 3), 4, "N", QDate(2026, 1, 1), "14.03.2025", "14.04.2025", "14.03.2025", "",
         "Inchis din alte motive (deces, cerere retragere, etc)."},
        {"closed with a buyer", QDate(2025, 1, 3), 5, "D", QDate(2026, 1, 1), "14.03.2025", "14.04.2025",
         "14.04.2025", "", "Inchis cu Potential cumparator."},
    };
    for (const DeadlineCase &c : cases) {
        SCOPED_TRACE(c.name);
        database().exec("DELETE FROM " + QuotedTablePath("Cereri.dbf"));
        database().exec("DELETE FROM " + QuotedTablePath("Vanzatori.dbf"));
        tablefixture::addRequest(1, 1, 1, c.datac, c.stare, c.pv1, "POPESCU");
        openOn(c.today);
        ASSERT_EQ(ax.rowCount(), 1);
        const RequestColumns &k = ax.columns(0);
        EXPECT_EQ(date(k.DataScad1), c.dataScad1);
        EXPECT_EQ(date(k.DataScad2), c.dataScad2);
        EXPECT_EQ(date(k.DataScad), c.dataScad);
        EXPECT_EQ(k.Expirat, c.expirat);
        EXPECT_EQ(status(0).text, c.status);
        const bool closed = c.stare > 1;
        EXPECT_EQ(status(0).finShown, !closed && QString(c.expirat) == "X");
    }
}

TEST_F(RequestRegisterTest, RowsWithoutSellerOneOrWithoutRequestAreNotListed)
{
    tablefixture::addRequest(1, 1, 1, QDate(2025, 1, 3), 0, "N", "POPESCU");
    tablefixture::addRequest(2, 2, 2, QDate(2025, 1, 4), 0, "N", "IONESCU");
    database().exec("UPDATE " + QuotedTablePath("Vanzatori.dbf") + " SET NRCRT=2 WHERE ID=2");
    // A seller line numbered 1 whose request is gone.
    database().exec("INSERT INTO " + QuotedTablePath("Vanzatori.dbf") + " (IDV, ID, NRCRT, VANZATOR) VALUES (9, 9, 1, 'ORFAN')");
    openOn(QDate(2025, 2, 1));
    ASSERT_EQ(ax.rowCount(), 1);
    EXPECT_EQ(ax.id(0), 1);
    // The engine's own join lists the orphan line with empty request fields.
    EXPECT_EQ(database().query(RegisterStatement(false)).rowCount(), 2);
}

TEST_F(RequestRegisterTest, AnEmptyRegisterHasNoRowAndHidesTheStatusPanel)
{
    openOn(QDate(2025, 2, 1));
    EXPECT_EQ(ax.rowCount(), 0);
    EXPECT_FALSE(RequestButtonsFor(-1).anyRow);
    EXPECT_FALSE(RequestButtonsFor(-1).open);
}

TEST_F(RequestRegisterTest, SearchBySellerTakesAnApostropheAndANumberWinsOverTheSeller)
{
    tablefixture::addRequest(1, 10, 1, QDate(2025, 1, 3), 0, "N", "D'ANGELO MARIA");
    tablefixture::addRequest(2, 11, 2, QDate(2025, 1, 4), 0, "N", "IONESCU");
    openOn(QDate(2025, 2, 1));
    ax.setSearch("D'ANGELO MARIA", 0);
    ASSERT_EQ(ax.rowCount(), 1);
    EXPECT_EQ(ax.id(0), 1);
    ax.setSearch("D'ANGELO MARIA", 11);
    ASSERT_EQ(ax.rowCount(), 1);
    EXPECT_EQ(ax.id(0), 2);
    ax.setSearch(QString(), 0);
    EXPECT_EQ(ax.rowCount(), 2);
}

TEST_F(RequestRegisterTest, ARefreshShowsOwnChangesAndThoseOfOtherWorkstations)
{
    for (int id = 1; id <= 5; ++id)
        tablefixture::addRequest(id, id, id, QDate(2025, 1, id), 0, "N", "SELLER " + QString::number(id));
    openOn(QDate(2025, 2, 1));
    ax.noteChange(SetRequestState(3, 4));
    ax.refresh(QDate(2025, 2, 1));
    EXPECT_EQ(ax.stare(ax.rowOfId(3)), 4);
    EXPECT_EQ(ax.columns(ax.rowOfId(3)).STARES, "X");
    // Another workstation's write, not noted here, shows as well.
    database().exec("UPDATE " + QuotedTablePath("Cereri.dbf") + " SET STARE=2 WHERE ID=4");
    ax.noteChange(SetRequestState(5, 1));
    ax.refresh(QDate(2025, 2, 1));
    EXPECT_EQ(ax.stare(ax.rowOfId(4)), 2);
    EXPECT_EQ(ax.stare(ax.rowOfId(5)), 1);
    EXPECT_EQ(ax.stare(ax.rowOfId(3)), 4);
    // A new seller name shows too.
    database().exec("UPDATE " + QuotedTablePath("Vanzatori.dbf") + " SET VANZATOR='NOU' WHERE ID=1");
    ax.refresh(QDate(2025, 2, 1));
    EXPECT_EQ(ax.value(ax.rowOfId(1), "VANZATOR").toString().trimmed(), "NOU");
}

TEST(RegisterStatus, ActButtonsFollowTheKindOfActAndTheStateOfTheRequest)
{
    EXPECT_FALSE(ActButtonsFor(false, "9", 0).edit);
    EXPECT_TRUE(ActButtonsFor(true, "", 0).del);
    EXPECT_FALSE(ActButtonsFor(true, "", 0).list);
    EXPECT_TRUE(ActButtonsFor(true, "17", 0).del);
    EXPECT_FALSE(ActButtonsFor(true, "12", 1).del);
    EXPECT_TRUE(ActButtonsFor(true, "12", 2).del);
    EXPECT_FALSE(ActButtonsFor(true, "17", 3).del);
    EXPECT_TRUE(ActButtonsFor(true, "9", 3).list);
    EXPECT_TRUE(RequestButtonsFor(4).reactivate);
    EXPECT_FALSE(RequestButtonsFor(4).open);
    EXPECT_TRUE(RequestButtonsFor(1).open);
    EXPECT_EQ(StageCaptionsFor(false).add, "Adauga Oferta");
    EXPECT_FALSE(StageCaptionsFor(false).rankShown);
}
