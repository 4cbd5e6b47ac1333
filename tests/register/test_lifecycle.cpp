// The life of a request on the real tables with a scripted prompter: the
// opening acts and their numbers, editing the last and an older request,
// deleting, cancelling and reactivating, and the cached documents that must
// go with their rows.
#include "registertesting.h"

#include "datastore/counters.h"
#include "register/cacheddocuments.h"
#include "register/registerqueries.h"

#include <QFile>

using namespace registertest;
using sqlstore::database;

namespace {

const QDate kDay = QDate(QDate::currentDate().year(), 1, 6);

struct ExpectedAct {
    const char *blocat;
    const char *tipact;
    const char *destinatar;
    bool dispatched;
};

void expectActs(qlonglong id, qlonglong firstNr, const QList<ExpectedAct> &expected)
{
    sqlstore::Query q = acts(id);
    ASSERT_EQ(q.rowCount(), expected.size());
    int position = 1;
    for (const ExpectedAct &e : expected) {
        SCOPED_TRACE(position);
        EXPECT_EQ(q.value("BLOCAT").toString().trimmed(), QLatin1String(e.blocat));
        EXPECT_EQ(q.value("TIPACT").toString().trimmed(), QLatin1String(e.tipact));
        EXPECT_EQ(q.value("DESTINATAR").toString().trimmed(), QLatin1String(e.destinatar));
        EXPECT_EQ(q.value("NR").toLongLong(), firstNr + position - 1);
        EXPECT_EQ(q.value("NR2PER").toInt(), position);
        EXPECT_EQ(q.value("DATAA").toDate(), kDay);
        EXPECT_EQ(q.value("DATAEXP").toDate().isValid(), e.dispatched);
        EXPECT_EQ(q.value("MODUL").toString().trimmed(), "iesire");
        EXPECT_EQ(q.value("EMITENT").toString().trimmed(), "PRIMARIA ARVENA");
        q.next();
        ++position;
    }
}

const QList<ExpectedAct> kOpeningActs = {
    {"9", "LISTA PREEMPTORILOR DUPA OFERTA", "D.A.J. si A.D.S.", false},
    {"1", "PROCES VERBAL DE AFISARE OFERTA", "D.A.J. si A.D.S.", false},
    {"2", "ADRESA DE INAINTARE OFERTA SI LP", "D.A.J.", false},
    {"15", "ADRESA DE INAINTARE OFERTA SI LP", "A.D.S.", false},
};

QList<ExpectedAct> openingActsWith(const QList<ExpectedAct> &notifications)
{
    return QList<ExpectedAct>{kOpeningActs[0]} + notifications + kOpeningActs.mid(1);
}

void addCommunication(qlonglong idc, qlonglong id, int nr, int rank, int position)
{
    database().exec("INSERT INTO " + QuotedTablePath("Comunicari.dbf")
                        + " (IDC, ID, NR, NR2PER, DATAC, CUMPARATOR, RANG) VALUES (?, ?, ?, ?, ?, 'IONESCU', ?)",
                    {idc, id, nr, position, kDay, rank});
}

void addAct(qlonglong ida, qlonglong id, int nr, const QString &blocat, int position)
{
    database().exec("INSERT INTO " + QuotedTablePath("AlteActe.dbf")
                        + " (IDA, ID, NR, NR2PER, DATAA, BLOCAT, TIPACT, DESTINATAR) VALUES (?, ?, ?, ?, ?, ?, 'ACT', 'X')",
                    {ida, id, nr, position, kDay, blocat});
}

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1 old}");
}

} // namespace

TEST_F(RegisterTest, ThreeHoldersOnlyTheSecondByPostGiveSevenActsAfterTheRequest)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {{"CRISTEA", 1, false}, {"ALBU", 1, true}, {"BARBU", 2, false}});
    const qlonglong nr = requestValue(id, "NR").toLongLong();
    EXPECT_EQ(requestValue(id, "STARE").toInt(), 0);
    EXPECT_EQ(requestValue(id, "PV1").toString(), "N");
    EXPECT_EQ(requestValue(id, "NRPREE").toInt(), 3);
    // Rank first, then name: ALBU and CRISTEA of rank 1, then BARBU.
    expectActs(id, nr + 1,
               openingActsWith({{"14", "NOTIFICARE PREEMPTOR", "ALBU", true},
                                {"14", "NOTIFICARE PREEMPTOR", "CRISTEA", false},
                                {"14", "NOTIFICARE PREEMPTOR", "BARBU", false}}));
    EXPECT_EQ(acts(id).value("DETALII").toString().trimmed(), "Cererea " + QString::number(nr) + " - POPESCU ION");
    EXPECT_EQ(PeekNextNumber("NR").toLongLong(), nr + 8);
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE=?", {"Adaugare Cerere: " + QString::number(nr)
                                                    + ", LP, Notif, PV si Adresa de inaintare."}),
              1);
    ASSERT_EQ(prompter.balloons.size(), 1);
    EXPECT_EQ(prompter.balloons[0].text, "Listati Procesul verbal de afisare\rNotificarile si Adresa de inaintare!");
    EXPECT_EQ(countOf("Vanzatori.dbf", "ID=?", {id}), 1);
    EXPECT_EQ(countOf("Preemptori.dbf", "ID=?", {id}), 3);
}

TEST_F(RegisterTest, ARequestWithoutHoldersGetsFourActs)
{
    add(kDay, {"A"}, {{"H", 1, false}});
    const qlonglong id = add(kDay, {"POPESCU ION"}, {});
    expectActs(id, requestValue(id, "NR").toLongLong() + 1, kOpeningActs);
}

TEST_F(RegisterTest, PerRequestNumberingNamesTheRequestByItsSecondNumber)
{
    WriteSetting("CONST", "NumTip", "2");
    SetNextNumber("NR", 40 * 10000);
    const qlonglong id = add(kDay, {"POPESCU ION"}, {});
    EXPECT_EQ(acts(id).value("DETALII").toString().trimmed(), "Cererea 1 - POPESCU ION");
    EXPECT_EQ(acts(id).value("NR").toLongLong(), 41);
}

TEST_F(RegisterTest, EditingAnOlderRequestKeepsItsAnswersAndRenamesOnlyThatHoldersNotification)
{
    const qlonglong older = add(kDay, {"POPESCU ION"}, {{"ALBU", 1, true}, {"BARBU", 2, false}});
    addCommunication(500, older, 900, 1, 7);
    addAct(600, older, 901, "12", 8);
    add(kDay, {"IONESCU"}, {{"ALBU", 1, false}});
    ASSERT_EQ(life.PrepareEdit(older), EditKind::OlderRequest);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].text, "ATENTIE !\rPuteti modifica Numarul de Preemptori doar la ultima Cerere introdusa!");

    CollectedRequest c = collected(kDay.addDays(1), {}, {}, QString::number(older));
    QList<HolderLine> holders = HolderLines(c.tables);
    ASSERT_EQ(holders.size(), 2);
    holders[0].nume = "ALBU-POP";
    UpdateHolderLine(c.tables, holders[0]);
    c.fields.nr = requestValue(older, "NR").toString();
    life.EditOlderRequest(older, c);
    DropWorkingTables(c.tables);

    EXPECT_EQ(requestValue(older, "DATAC").toDate(), kDay.addDays(1));
    EXPECT_EQ(countOf("Comunicari.dbf", "ID=?", {older}), 1);
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=?", {older}), 7);
    EXPECT_EQ(countOf("AlteActe.dbf", "BLOCAT='14' AND DESTINATAR='ALBU-POP'"), 1);
    // The newer request's holder of the same old name keeps its notification.
    EXPECT_EQ(countOf("AlteActe.dbf", "BLOCAT='14' AND DESTINATAR='ALBU'"), 1);
    EXPECT_EQ(countOf("AlteActe.dbf", "DESTINATAR='BARBU'"), 1);
    EXPECT_EQ(countOf("Preemptori.dbf", "NUME='ALBU-POP'"), 1);
    EXPECT_EQ(countOf("Vanzatori.dbf", "ID=?", {older}), 1);
}

TEST_F(RegisterTest, EditingTheLastRequestRebuildsItsOpeningActsAndStartsItAgain)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {{"ALBU", 1, true}});
    const qlonglong nr = requestValue(id, "NR").toLongLong();
    addCommunication(500, id, 20, 1, 4);
    addAct(600, id, 21, "12", 5);
    database().exec("UPDATE " + QuotedTablePath("Cereri.dbf") + " SET STARE=1, PV1='D' WHERE ID=?", {id});
    // Other files took numbers meanwhile.
    SetNextNumber("NR", 30 * 10000);
    touch(ActDocumentPath(600));
    touch(CommunicationDocumentPath(500));

    prompter.answer(ResultYes);
    ASSERT_EQ(life.PrepareEdit(id), EditKind::LastRequest);
    EXPECT_EQ(prompter.questions[0].title, "Modificare Cerere");
    EXPECT_EQ(prompter.questions[0].kind, KindWarning);
    CollectedRequest c = collected(kDay, {}, {}, QString::number(id));
    HolderLine extra;
    extra.nume = "BARBU";
    extra.rang = 2;
    AddHolderLine(c.tables, extra, QString::number(id));
    c.holderCount = 2;
    c.fields.nr = QString::number(nr);
    life.EditLastRequest(id, c);
    DropWorkingTables(c.tables);

    expectActs(id, nr + 1,
               openingActsWith({{"14", "NOTIFICARE PREEMPTOR", "ALBU", true},
                                {"14", "NOTIFICARE PREEMPTOR", "BARBU", false}}));
    EXPECT_EQ(countOf("Comunicari.dbf", "ID=?", {id}), 0);
    EXPECT_EQ(requestValue(id, "STARE").toInt(), 0);
    EXPECT_EQ(requestValue(id, "PV1").toString(), "N");
    EXPECT_EQ(requestValue(id, "NRPREE").toInt(), 2);
    // The counter never goes back under numbers given out meanwhile.
    EXPECT_EQ(PeekNextNumber("NR").toLongLong(), 30);
    EXPECT_FALSE(QFile::exists(ActDocumentPath(600)));
    EXPECT_FALSE(QFile::exists(CommunicationDocumentPath(500)));
}

TEST_F(RegisterTest, EditingTheLastRequestStopsUnlessTheClerkSaysDa)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {});
    prompter.answer(ResultNo);
    EXPECT_EQ(life.PrepareEdit(id), EditKind::Stopped);
}

TEST_F(RegisterTest, AnEditAsksWhetherToRebuildAListedRequestForm)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {});
    add(kDay, {"IONESCU"}, {});
    touch(RequestFormPath(id));
    for (const int answer : {ResultNo, ResultYes}) {
        CollectedRequest c = collected(kDay, {}, {}, QString::number(id));
        prompter.answer(answer);
        life.EditOlderRequest(id, c);
        DropWorkingTables(c.tables);
        EXPECT_EQ(prompter.questions.last().text, "\rDoriti sa refaceti Cererea listata anterior?");
        EXPECT_EQ(QFile::exists(RequestFormPath(id)), answer == ResultNo);
    }
}

TEST_F(RegisterTest, DeletingTheNewestRequestLetsTheNextOneReuseItsNumbers)
{
    add(kDay, {"A"}, {{"H", 1, false}});
    const qlonglong id = add(kDay, {"POPESCU ION"}, {{"ALBU", 1, false}, {"BARBU", 1, false}});
    const qlonglong nr = requestValue(id, "NR").toLongLong();
    addCommunication(500, id, nr + 7, 1, 7);
    touch(RequestFormPath(id));
    touch(RequestOfferPath(id));
    const qlonglong firstAct = acts(id).value("IDA").toLongLong();
    touch(ActDocumentPath(firstAct));
    touch(CommunicationDocumentPath(500));

    prompter.answer(ResultYes);
    ASSERT_TRUE(life.DeleteRequest(id));
    EXPECT_EQ(prompter.questions[0].text, "\rDoriti sa stergeti Cererea " + QString::number(nr) + "\rcu toate datele ei?");
    for (const char *file : {"Cereri.dbf", "Comunicari.dbf", "AlteActe.dbf", "Preemptori.dbf", "Vanzatori.dbf"})
        EXPECT_EQ(countOf(file, "ID=?", {id}), 0) << file;
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE=?", {"Stergere Cerere: " + QString::number(nr)}), 1);
    for (const QString &path : {RequestFormPath(id), RequestOfferPath(id), ActDocumentPath(firstAct),
                                CommunicationDocumentPath(500)})
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();

    const qlonglong next = add(kDay, {"IONESCU"}, {});
    EXPECT_EQ(requestValue(next, "NR").toLongLong(), nr);
    EXPECT_EQ(acts(next).value("NR").toLongLong(), nr + 1);
}

TEST_F(RegisterTest, DeletingAsksFirstAndKeepsEverythingOnNu)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {});
    prompter.answer(ResultNo);
    EXPECT_FALSE(life.DeleteRequest(id));
    EXPECT_EQ(countOf("Cereri.dbf"), 1);
    EXPECT_EQ(countOf("AlteActe.dbf"), 4);
}

TEST_F(RegisterTest, ANewIdDoesNotFindTheDocumentOfTheRowThatHadIt)
{
    const qlonglong nextId = PeekNextNumber("ID").toLongLong();
    const qlonglong nextAct = PeekNextNumber("IDA").toLongLong();
    touch(RequestFormPath(nextId));
    touch(RequestOfferPath(nextId));
    touch(ActDocumentPath(nextAct));
    touch(ActDocumentPath(nextAct + 3));
    add(kDay, {"POPESCU ION"}, {});
    for (const QString &path : {RequestFormPath(nextId), RequestOfferPath(nextId), ActDocumentPath(nextAct),
                                ActDocumentPath(nextAct + 3)})
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
}

TEST_F(RegisterTest, CancellingWritesThreeActsAndReactivatingWithStageTwoOffersReopensWithAnswers)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {{"ALBU", 1, false}});
    SetRequestStage(id, true);
    addCommunication(500, id, 50, 100, 6);
    life.setToday(kDay.addDays(40));
    prompter.answer(ResultYes);
    ASSERT_TRUE(life.CancelProcedure(id));
    EXPECT_EQ(requestValue(id, "STARE").toInt(), 4);
    sqlstore::Query q = database().query("SELECT * FROM " + QuotedTablePath("AlteActe.dbf")
                                             + " WHERE ID=? AND NR2PER>5 ORDER BY NR2PER",
                                         {id});
    ASSERT_EQ(q.rowCount(), 3);
    const QStringList kinds = {"23", "16", "18"};
    for (int i = 0; i < 3; ++i, q.next()) {
        EXPECT_EQ(q.value("BLOCAT").toString().trimmed(), kinds[i]);
        EXPECT_EQ(q.value("NR2PER").toInt(), 7 + i);
        EXPECT_EQ(q.value("DATAA").toDate(), kDay.addDays(40));
    }
    q.first();
    EXPECT_EQ(q.value("EMITENT").toString().trimmed(), "POPESCU ION");
    EXPECT_EQ(q.value("DESTINATAR").toString().trimmed(), "PRIMARIA ARVENA");
    EXPECT_EQ(q.value("MODUL").toString().trimmed(), "intrare");
    EXPECT_EQ(life.lastActId(), q.valueAt(2, q.fieldIndex("IDA")).toLongLong());
    EXPECT_EQ(prompter.balloons.last().text, "Listati P.V. de Anulare procedura\rsi Adresa de Anulare procedura!");

    prompter.answer(ResultYes);
    ASSERT_TRUE(life.ReactivateRequest(id));
    EXPECT_EQ(prompter.questions.last().text, "\rDoriti reactivarea cererii?");
    EXPECT_EQ(requestValue(id, "STARE").toInt(), 1);
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND BLOCAT IN ('23','16','18')", {id}), 3);
}

TEST_F(RegisterTest, ReactivatingARequestWhoseStageHasNoAnswerReopensItEmpty)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {});
    // A communication of stage I does not count once the request is in stage II.
    addCommunication(500, id, 50, 1, 5);
    SetRequestStage(id, true);
    SetRequestState(id, 4);
    prompter.answer(ResultYes);
    ASSERT_TRUE(life.ReactivateRequest(id));
    EXPECT_EQ(requestValue(id, "STARE").toInt(), 0);
}

TEST_F(RegisterTest, NextFileNumberFollowsTheLargestPositionOfAnswersAndActs)
{
    const qlonglong id = add(kDay, {"POPESCU ION"}, {{"ALBU", 1, false}});
    EXPECT_EQ(NextFileNumber(id), 6);
    addCommunication(500, id, 50, 1, 9);
    EXPECT_EQ(NextFileNumber(id), 10);
    EXPECT_EQ(NextFileNumber(9999), 1);
}

TEST_F(RegisterTest, AFailedOperationLeavesNothingOfItself)
{
    CollectedRequest c = collected(kDay, {"POPESCU ION"}, {{"ALBU", 1, false}});
    // A working table that went away half way: the copy of the sellers fails.
    QFile::remove(c.tables.sellers);
    EXPECT_THROW(life.AddRequest(c), sqlstore::SqlError);
    DropWorkingTables(c.tables);
    for (const char *file : {"Cereri.dbf", "Preemptori.dbf", "AlteActe.dbf", "Log.dbf"})
        EXPECT_EQ(countOf(file), 0) << file;
}
