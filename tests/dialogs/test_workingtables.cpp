// The request dialog's working tables on real dBASE files: their layouts, the
// lines of an existing request, the seller and holder operations, and the
// clean-up of tables left behind by a copy that did not end normally.
#include "dialogs/workingtables.h"
#include "datastore/counters.h"
#include "datastore/schema.h"
#include "datastore/sql/database.h"
#include "heldbyprocess.h"
#include "scriptedprompter.h"
#include "startupfixture.h"
#include "tablefixture.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using sqlstore::database;

namespace {

class WorkingTablesTest : public ::testing::Test {
protected:
    void SetUp() override { CreateTables(); }
    void TearDown() override { DropWorkingTables(tables); }

    QStringList columnsOf(const QString &path)
    {
        sqlstore::Query q = database().query("SELECT * FROM \"" + path + "\"");
        QStringList columns;
        for (int i = 0; i < q.columnCount(); ++i) {
            const sqlstore::FieldInfo &f = q.field(i);
            columns << QString("%1 %2%3.%4").arg(f.name).arg(f.type).arg(f.width).arg(f.decimals);
        }
        return columns;
    }

    SellerLine seller(const QString &name)
    {
        SellerLine l;
        l.vanzator = name;
        l.cnpcui = "1800101221144";
        l.judet = "ALBA";
        l.bidata = QDate(2020, 5, 17);
        l.mcalitate = "împuternicit";
        return l;
    }

    ProgramFolderFixture folder;
    ScriptedPrompter prompter;
    WorkingTables tables;
};

} // namespace

TEST_F(WorkingTablesTest, NewRequestTablesHaveTheMainLayoutsAndGoOnDrop)
{
    tables = CreateWorkingTables("-1");
    EXPECT_EQ(tables.holders, folder.file("TmpPre0.DBF"));
    EXPECT_EQ(tables.sellers, folder.file("TmpVanz0.DBF"));
    EXPECT_EQ(columnsOf(tables.holders), columnsOf(TablePath("Preemptori.dbf")));
    EXPECT_EQ(columnsOf(tables.sellers), columnsOf(TablePath("Vanzatori.dbf")));
    EXPECT_EQ(columnsOf(tables.sellers).size(), 28);
    const QString holders = tables.holders;
    DropWorkingTables(tables);
    EXPECT_FALSE(QFileInfo::exists(holders));
    EXPECT_FALSE(QFileInfo::exists(folder.file("TmpVanz0.DBF")));
}

TEST_F(WorkingTablesTest, ExistingRequestBringsItsLinesAndTheOldNames)
{
    tablefixture::addRequest(7, 1, 1, QDate(2025, 3, 1), 0, "N", "POPESCU ION");
    tablefixture::addRequest(8, 2, 2, QDate(2025, 3, 2), 0, "N", "ALTUL");
    database().exec("INSERT INTO " + QuotedTablePath("Preemptori.dbf")
                        + " (IDP, ID, RANG, POSTA, TIPPF, NUME, TEL) VALUES (3, 7, 3, 'DA', 'FIZICA', 'VECIN ȘTEFAN', '0722')");
    tables = CreateWorkingTables("7");
    const QStringList holderColumns = columnsOf(tables.holders);
    EXPECT_EQ(holderColumns.last(), "NUMEOLD C80.0");
    EXPECT_EQ(holderColumns.size(), 13);
    const QList<HolderLine> holders = HolderLines(tables);
    ASSERT_EQ(holders.size(), 1);
    // The code page of the tables has only the cedilla form of ș.
    EXPECT_EQ(holders[0].nume, "VECIN ŞTEFAN");
    EXPECT_TRUE(holders[0].posta);
    EXPECT_EQ(database().scalar("SELECT NUMEOLD FROM \"" + tables.holders + "\"").toString(), "VECIN ŞTEFAN");
    const QList<SellerLine> sellers = SellerLines(tables);
    ASSERT_EQ(sellers.size(), 1);
    EXPECT_EQ(sellers[0].vanzator, "POPESCU ION");
    EXPECT_EQ(sellers[0].id, 7);
}

TEST_F(WorkingTablesTest, SellerLinesAreNumberedWithoutGaps)
{
    tables = CreateWorkingTables("-1");
    SetNextNumber("IDV", 500000);
    QList<qlonglong> ids;
    for (const char *name : {"UNU", "DOI", "TREI", "PATRU"})
        ids << AddSellerLine(tables, seller(name));
    EXPECT_EQ(ids, (QList<qlonglong>{50, 51, 52, 53}));
    prompter.answer(ResultNo);
    SellerLine two = SellerLines(tables).at(1);
    EXPECT_FALSE(AskAndDeleteSellerLine(tables, two, prompter));
    prompter.answer(ResultYes);
    EXPECT_TRUE(AskAndDeleteSellerLine(tables, two, prompter));
    EXPECT_EQ(prompter.questions[0].title, "Stergere Vanzator");
    EXPECT_EQ(prompter.questions[0].text, "\rDoriti sa stergeti vanzatorul DOI ?");
    const QList<SellerLine> left = SellerLines(tables);
    ASSERT_EQ(left.size(), 3);
    EXPECT_EQ(left[0].nrcrt, 1);
    EXPECT_EQ(left[1].nrcrt, 2);
    EXPECT_EQ(left[1].vanzator, "TREI");
    EXPECT_EQ(left[2].nrcrt, 3);
    EXPECT_EQ(left[2].bidata, QDate(2020, 5, 17));
    EXPECT_EQ(left[2].mcalitate, "împuternicit");
    EXPECT_EQ(left[2].id, 0);

    SellerLine changed = left[2];
    changed.vanzator = "PATRU \"NOU\"";
    changed.bidata = QDate();
    UpdateSellerLine(tables, changed);
    const SellerLine read = SellerLines(tables).at(2);
    EXPECT_EQ(read.vanzator, "PATRU \"NOU\""); // bound, not spliced into the statement
    EXPECT_FALSE(read.bidata.isValid());
    EXPECT_EQ(read.nrcrt, 3);
}

TEST_F(WorkingTablesTest, CopyingTheLastSellers)
{
    tables = CreateWorkingTables("4");
    tablefixture::addRequest(4, 1, 1, QDate(2025, 3, 1), 0, "N", "SINGUR");
    prompter.answer(ResultYes);
    EXPECT_FALSE(CopyLastRequestSellers(tables, "4", prompter));
    ASSERT_EQ(prompter.questions.size(), 2);
    EXPECT_EQ(prompter.questions[0].text, "\rSunt aceeasi Vanzatori de la ultima Cerere introdusa ?");
    EXPECT_EQ(prompter.questions[0].kind, KindWarning);
    EXPECT_EQ(prompter.questions[1].text, "\rNu aveti nicio cerere introdusa anterior !");

    tablefixture::addRequest(2, 2, 2, QDate(2025, 2, 1), 0, "N", "PRIMUL");
    database().exec("INSERT INTO " + QuotedTablePath("Vanzatori.dbf")
                        + " (IDV, ID, NRCRT, VANZATOR, MTEL) VALUES (9, 2, 2, 'AL DOILEA', '0744')");
    AddSellerLine(tables, seller("TASTAT"));
    // For the request being edited (4) the newest other request is 2.
    prompter.answer(ResultYes);
    ASSERT_TRUE(CopyLastRequestSellers(tables, "4", prompter));
    const QList<SellerLine> lines = SellerLines(tables);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].vanzator, "PRIMUL");
    EXPECT_EQ(lines[1].vanzator, "AL DOILEA");
    EXPECT_EQ(lines[1].mtel, "0744");
    EXPECT_EQ(lines[1].id, 0);
    EXPECT_NE(lines[1].idv, 9);
}

TEST_F(WorkingTablesTest, HolderLines)
{
    tables = CreateWorkingTables("-1");
    HolderLine h;
    h.nume = "VECIN";
    h.rang = 3;
    h.posta = true;
    const qlonglong idp = AddHolderLine(tables, h, "-1");
    EXPECT_TRUE(HolderNameExists(tables, "VECIN", 0));
    EXPECT_FALSE(HolderNameExists(tables, "VECIN", idp)); // its own line is left out
    EXPECT_FALSE(HolderNameExists(tables, "vecin", 0));   // exact equality
    h.nume = "ARENDAS";
    h.rang = 2;
    AddHolderLine(tables, h, "-1");
    QList<HolderLine> lines = HolderLines(tables);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].nume, "ARENDAS"); // by rank, then name
    EXPECT_EQ(lines[1].id, -1);
    lines[1].posta = false;
    lines[1].tel = "0722123456";
    UpdateHolderLine(tables, lines[1]);
    EXPECT_EQ(database().scalar("SELECT POSTA FROM \"" + tables.holders + "\" WHERE IDP=?", {idp}).toString(), "NU");

    tablefixture::addRequest(5, 1, 1, QDate(2025, 3, 1), 0, "N", "X");
    database().exec("INSERT INTO " + QuotedTablePath("Preemptori.dbf")
                        + " (IDP, ID, RANG, NUME) VALUES (1, 5, 7, 'STATUL'), (2, 5, 1, 'RUDA')");
    CopyHolders(tables, "5");
    lines = HolderLines(tables);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].nume, "RUDA");
    EXPECT_EQ(lines[1].rang, 7);
    EXPECT_EQ(lines[1].id, 0);

    prompter.answer(ResultYes);
    EXPECT_TRUE(AskAndDeleteHolderLine(tables, lines[0], prompter));
    EXPECT_EQ(prompter.questions[0].text, "\rStergem preemptorul RUDA ?");
    EXPECT_EQ(HolderLineCount(tables), 1);
}

TEST_F(WorkingTablesTest, HolderChangesRefusedForAnOlderRequest)
{
    EXPECT_TRUE(HolderChangeAllowed(HolderChange::Add, true, prompter));
    EXPECT_FALSE(HolderChangeAllowed(HolderChange::Add, false, prompter));
    EXPECT_FALSE(HolderChangeAllowed(HolderChange::Delete, false, prompter));
    EXPECT_FALSE(HolderChangeAllowed(HolderChange::Copy, false, prompter));
    ASSERT_EQ(prompter.calls,
              (QStringList{"Mesaj Adaugare Preemptor: \rNu puteti adauga Preemptori decat la ultima Cerere!\r"
                           "Ar trebui sa renumerotam toate Actele eliberate ulterior.",
                           "Mesaj Stergere Preemptor: \rNu puteti sterge Preemptori decat la ultima Cerere!\r"
                           "Ar trebui sa renumerotam toate Actele eliberate ulterior.",
                           "Mesaj Copiere Preemptor: \rNu puteti Copia Preemptorii decat la ultima Cerere!\r"
                           "Ar trebui sa renumerotam toate Actele eliberate ulterior."}));
    EXPECT_EQ(prompter.questions[0].kind, KindError);
}

TEST_F(WorkingTablesTest, StaleTablesGoAtTheNextStart)
{
    tables = CreateWorkingTables("-1"); // this copy works on 0
    for (const char *name : {"TmpPre3.DBF", "TmpVanz3.DBF", "TmpPre4.DBF", "tmpvanz7.dbf", "TmpPreX.DBF", "Other.DBF"}) {
        QFile f(folder.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    HeldByProcess otherCopy(testsupport::binary("inuse_holder"), {"claim", folder.file("TmpPre4.DBF")});
    ASSERT_TRUE(otherCopy.held());
    EXPECT_EQ(RemoveStaleWorkingTables(folder.path()), 3);
    for (const char *gone : {"TmpPre3.DBF", "TmpVanz3.DBF", "tmpvanz7.dbf"})
        EXPECT_FALSE(QFileInfo::exists(folder.file(gone))) << gone;
    for (const char *kept : {"TmpPre0.DBF", "TmpVanz0.DBF", "TmpPre4.DBF", "TmpPreX.DBF", "Other.DBF"})
        EXPECT_TRUE(QFileInfo::exists(folder.file(kept))) << kept;
}
