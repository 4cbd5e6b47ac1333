// Communications, offers, other acts and the closing of stages on the real
// tables with a scripted prompter: the numbers and file numbers they take,
// the acts that go with them, the state they leave the request in, and the
// cached documents that must go with deleted rows.
#include "registertesting.h"

#include "datastore/counters.h"
#include "register/actoperations.h"
#include "register/answeroperations.h"
#include "register/cacheddocuments.h"
#include "register/registerqueries.h"
#include "register/stageclosing.h"

#include <QFile>

using namespace registertest;
using sqlstore::database;

namespace {

const QDate kDay = QDate(QDate::currentDate().year(), 1, 6);

AnswerLine answer(const QString &name, const QString &price = QStringLiteral("25000"), int rank = 1)
{
    AnswerLine a = answerLine(kDay.addDays(3), name, rank, price);
    a.dataAfis = kDay.addDays(4);
    return a;
}

// BLOCAT, NR2PER and IDC of the acts of request `id` after its opening acts.
struct ActSeen {
    QString blocat;
    int nr2per;
    qlonglong nr;
    qlonglong idc;
    bool operator==(const ActSeen &) const = default;
};
void PrintTo(const ActSeen &a, std::ostream *os)
{
    *os << a.blocat.toStdString() << "@" << a.nr2per << " nr " << a.nr << " idc " << a.idc;
}

QList<ActSeen> actsAfter(qlonglong id, int position)
{
    QList<ActSeen> seen;
    sqlstore::Query q = database().query("SELECT BLOCAT, NR2PER, NR, IDC FROM " + QuotedTablePath("AlteActe.dbf")
                                             + " WHERE ID=? AND NR2PER>? ORDER BY NR2PER",
                                         {id, position});
    for (bool more = q.first(); more; more = q.next())
        seen << ActSeen{q.value(0).toString().trimmed(), q.value(1).toInt(), q.value(2).toLongLong(),
                        q.value(3).toLongLong()};
    return seen;
}

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1 old}");
}

class AnswersTest : public RegisterTest {
protected:
    // A request with three holders: its opening acts take file numbers 1-7.
    qlonglong request() { return add(kDay, {"POPESCU ION"}, {{"A", 1}, {"B", 2}, {"C", 3}}); }
    int stare(qlonglong id) { return requestValue(id, "STARE").toInt(); }
    QString pv1(qlonglong id) { return requestValue(id, "PV1").toString().trimmed(); }

    AnswerOperations answers{prompter};
    ActOperations actOps{prompter};
    QList<bool> chooserCalls;
    qlonglong chosen = 0;
    StageClosing closing{prompter, [this](bool communications) {
                             chooserCalls << communications;
                             return chosen;
                         }};
};

TEST_F(AnswersTest, PerRequestNumberingGivesACommunicationItsActsAndAnOfferSkipsOneFileNumber)
{
    WriteSetting("CONST", "NumTip", "2");
    SetNextNumber("NR2", 12 * 10000);
    const qlonglong id = request();
    ASSERT_EQ(requestValue(id, "NR2").toInt(), 12);
    ASSERT_EQ(NextFileNumber(id), 8);

    EXPECT_EQ(NextEntryNumber(id), "12/8");
    const qlonglong nr = PeekNextNumber("NR").toLongLong();
    const qlonglong idc = answers.AddAnswer(id, answer("IONESCU"));
    EXPECT_EQ(database().scalar("SELECT NR2PER FROM " + QuotedTablePath("Comunicari.dbf") + " WHERE IDC=?", {idc}),
              8);
    EXPECT_EQ(actsAfter(id, 7), (QList<ActSeen>{{"3", 9, nr + 1, idc}, {"4", 10, nr + 2, idc}, {"5", 11, nr + 3, idc}}));
    EXPECT_EQ(stare(id), 1);
    EXPECT_EQ(prompter.balloons.last().text, "Listati Lista preemptorilor,\rP.V. Afisare Comunicare\rsi Adresa de inaintare!");

    // The same situation in stage II: the offer at 8, its acts at 10 and 11.
    const qlonglong second = request();
    SetRequestStage(second, true);
    EXPECT_EQ(NextEntryNumber(second), "13/8");
    const qlonglong offerNr = PeekNextNumber("NR").toLongLong();
    const qlonglong offer = answers.AddAnswer(second, answer("VASILE", "150000", 4));
    EXPECT_EQ(database().scalar("SELECT RANG FROM " + QuotedTablePath("Comunicari.dbf") + " WHERE IDC=?", {offer}), 100);
    EXPECT_EQ(actsAfter(second, 7), (QList<ActSeen>{{"6", 10, offerNr + 1, offer}, {"19", 11, offerNr + 2, offer}}));
    EXPECT_EQ(stare(second), 1);
    EXPECT_EQ(prompter.balloons.last().text, "Listati P.V. Afisare Oferta de cumparare\rsi Adresa de inaintare!");
    // An offer is never an answer of stage I, a communication never of stage II.
    EXPECT_FALSE(StageHasAnswers(second, false));
    EXPECT_FALSE(StageHasAnswers(id, true));
}

TEST_F(AnswersTest, IndividualNumberingShowsTheNextRegisterNumberAndDetailsNameTheRequest)
{
    const qlonglong id = request();
    EXPECT_EQ(NextEntryNumber(id), PeekNextNumber("NR"));
    const qlonglong idc = answers.AddAnswer(id, answer("IONESCU"));
    // A notification carries its holder's IDP in IDC: the kinds tell them apart.
    sqlstore::Query q = database().query("SELECT * FROM " + QuotedTablePath("AlteActe.dbf")
                                             + " WHERE IDC=? AND BLOCAT<>'14' ORDER BY NR",
                                         {idc});
    ASSERT_EQ(q.rowCount(), 3);
    EXPECT_EQ(q.value("DETALII").toString().trimmed(), "Preemptor IONESCU la Cererea nr.1 - POPESCU ION");
    EXPECT_EQ(q.value("DESTINATAR").toString().trimmed(), "D.A.J. si A.D.S.");
    EXPECT_EQ(q.value("EMITENT").toString().trimmed(), "PRIMARIA ARVENA");
    EXPECT_EQ(q.value("DATAA").toDate(), kDay.addDays(3));
    EXPECT_TRUE(q.last());
    EXPECT_EQ(q.value("TIPACT").toString().trimmed(), "ADRESA DE INAINTARE COMUNICARE");
    EXPECT_EQ(q.value("DESTINATAR").toString().trimmed(), "D.A.J.");
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE LIKE 'Adaugare Comunicare%'"), 2);
}

TEST_F(AnswersTest, AClosedFileTakesNoAnswer)
{
    const qlonglong id = request();
    SetRequestState(id, 2);
    EXPECT_FALSE(answers.CanAddAnswer(id));
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Adaugare Comunicare/Oferta");
    EXPECT_EQ(prompter.questions[0].text, "\rDosarul este inchis!");
    SetRequestState(id, 1);
    EXPECT_TRUE(answers.CanAddAnswer(id));
}

TEST_F(AnswersTest, OffersOfAHundredThousandLeiAndMoreAreStoredExactly)
{
    const qlonglong id = request();
    SetRequestStage(id, true);
    for (const char *price : {"150000", "100000.5", "99999.99"}) {
        SCOPED_TRACE(price);
        const qlonglong idc = answers.AddAnswer(id, answer("VASILE", price));
        EXPECT_EQ(answers.LoadAnswer(idc).line.pret, price);
    }
}

TEST_F(AnswersTest, EditingKeepsTheAnswersOwnPriceAndAsksAboutAListedDocumentOnly)
{
    const qlonglong id = request();
    const qlonglong idc = answers.AddAnswer(id, answer("IONESCU", "31000.5", 3));
    StoredAnswer stored = answers.LoadAnswer(idc);
    EXPECT_EQ(stored.line.pret, "31000.5");
    EXPECT_EQ(stored.line.rang, 3);
    EXPECT_EQ(answers.facts().pret, 25000);

    // Never listed: no question.
    stored.line.adresa = "STR. NOUA 5";
    answers.EditAnswer(idc, stored.line);
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_EQ(answers.LoadAnswer(idc).line.adresa, "STR. NOUA 5");
    EXPECT_EQ(answers.LoadAnswer(idc).line.pret, "31000.5");

    // Listed: "Da" drops the document, "Nu" keeps it.
    touch(CommunicationDocumentPath(idc));
    prompter.answer({ResultNo, ResultYes});
    answers.EditAnswer(idc, stored.line);
    EXPECT_TRUE(QFile::exists(CommunicationDocumentPath(idc)));
    answers.EditAnswer(idc, stored.line);
    EXPECT_FALSE(QFile::exists(CommunicationDocumentPath(idc)));
    ASSERT_EQ(prompter.questions.size(), 2);
    EXPECT_EQ(prompter.questions[0].title, "Modificare Comunicare");
    EXPECT_EQ(prompter.questions[0].text, "\rDoriti sa stergeti modificarile anterioare?");
    // Its acts are left as they are.
    EXPECT_EQ(actsAfter(id, 7).size(), 3);
}

TEST_F(AnswersTest, DeletingTheOnlyCommunicationRemovesExactlyItsActsAndDocumentsAndReopensTheRequest)
{
    const qlonglong id = request();
    const qlonglong other = request();
    const qlonglong idc = answers.AddAnswer(id, answer("IONESCU"));
    const qlonglong otherIdc = answers.AddAnswer(other, answer("IONESCU"));
    const qlonglong before = countOf("AlteActe.dbf");
    QList<qlonglong> itsActs;
    sqlstore::Query q = database().query(
        "SELECT IDA FROM " + QuotedTablePath("AlteActe.dbf") + " WHERE IDC=? AND BLOCAT<>'14' AND ID=?", {idc, id});
    for (bool more = q.first(); more; more = q.next())
        itsActs << q.value(0).toLongLong();
    ASSERT_EQ(itsActs.size(), 3);
    for (const qlonglong ida : itsActs)
        touch(ActDocumentPath(ida));
    touch(CommunicationDocumentPath(idc));

    prompter.answer(ResultNo);
    EXPECT_FALSE(answers.DeleteAnswer(idc));
    EXPECT_EQ(countOf("AlteActe.dbf"), before);

    prompter.answer(ResultYes);
    EXPECT_TRUE(answers.DeleteAnswer(idc));
    EXPECT_EQ(prompter.questions.last().title, "Stergere Comunicare");
    EXPECT_EQ(countOf("AlteActe.dbf"), before - 3);
    EXPECT_EQ(countOf("AlteActe.dbf", "IDC=? AND ID=? AND BLOCAT<>'14'", {otherIdc, other}), 3);
    EXPECT_EQ(countOf("Comunicari.dbf"), 1);
    EXPECT_EQ(stare(id), 0);
    EXPECT_EQ(stare(other), 1);
    EXPECT_FALSE(QFile::exists(CommunicationDocumentPath(idc)));
    for (const qlonglong ida : itsActs)
        EXPECT_FALSE(QFile::exists(ActDocumentPath(ida))) << ida;
    // The counter follows the largest number left.
    const qlonglong largest = database().scalar("SELECT MAX(NR) FROM " + QuotedTablePath("AlteActe.dbf")).toLongLong();
    EXPECT_EQ(PeekNextNumber("NR").toLongLong(), largest + 1);
}

TEST_F(AnswersTest, DeletingOneOfTwoCommunicationsKeepsTheRequestAnswered)
{
    const qlonglong id = request();
    const qlonglong first = answers.AddAnswer(id, answer("IONESCU"));
    answers.AddAnswer(id, answer("GEORGESCU"));
    prompter.answer(ResultYes);
    EXPECT_TRUE(answers.DeleteAnswer(first));
    EXPECT_EQ(stare(id), 1);
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND (BLOCAT='3' OR BLOCAT='4' OR BLOCAT='5')", {id}), 3);
}

TEST_F(AnswersTest, OneCommunicationIsChosenWithoutTheChoiceDialog)
{
    const qlonglong id = request();
    const qlonglong idc = answers.AddAnswer(id, answer("IONESCU"));
    prompter.answer(ResultYes);
    closing.setToday(kDay.addDays(60));
    ASSERT_TRUE(closing.FinishStage(id));
    EXPECT_TRUE(chooserCalls.isEmpty());
    EXPECT_EQ(prompter.questions.last().text, "\rFinalizam procedura CU COMUNICARE ?");
    EXPECT_EQ(stare(id), 2);
    sqlstore::Query q = database().query("SELECT * FROM " + QuotedTablePath("AlteActe.dbf")
                                             + " WHERE ID=? AND NR2PER>11 ORDER BY NR2PER",
                                         {id});
    const QStringList kinds{"12", "8", "13"};
    ASSERT_EQ(q.rowCount(), 3);
    for (int i = 0; i < 3; ++i, q.next()) {
        EXPECT_EQ(q.value("BLOCAT").toString().trimmed(), kinds[i]);
        EXPECT_EQ(q.value("IDC").toLongLong(), idc);
        EXPECT_EQ(q.value("NR2PER").toInt(), 12 + i);
        EXPECT_EQ(q.value("DATAA").toDate(), kDay.addDays(60));
        EXPECT_EQ(q.value("DETALII").toString().trimmed(), "Cererea 1 - POPESCU ION");
    }
    q.first();
    EXPECT_EQ(q.value("MODUL").toString().trimmed(), "intrare");
    EXPECT_EQ(q.value("EMITENT").toString().trimmed(), "POPESCU ION");
    EXPECT_EQ(q.value("DESTINATAR").toString().trimmed(), "PRIMARIA ARVENA");
    EXPECT_EQ(q.value("TIPACT").toString().trimmed(), "DECIZIE ALEGERE PREEMPTOR");
    EXPECT_EQ(prompter.balloons.last().text, "Listati P.V. Finalizare\rsi Adresa Finalizare!");
}

TEST_F(AnswersTest, AmongThreeOffersCancellingTheChoiceWritesNothingAndAChoiceClosesWithTheBuyer)
{
    const qlonglong id = request();
    SetRequestStage(id, true);
    QList<qlonglong> offers;
    for (const char *name : {"A", "B", "C"})
        offers << answers.AddAnswer(id, answer(name, "30000"));
    const qlonglong acts = countOf("AlteActe.dbf");
    const qlonglong logs = countOf("Log.dbf");

    prompter.answer(ResultYes);
    EXPECT_FALSE(closing.FinishStage(id));
    EXPECT_EQ(chooserCalls, QList<bool>{false});
    EXPECT_EQ(countOf("AlteActe.dbf"), acts);
    EXPECT_EQ(countOf("Log.dbf"), logs);
    EXPECT_EQ(stare(id), 1);

    chosen = offers[1];
    prompter.answer(ResultYes);
    ASSERT_TRUE(closing.FinishStage(id));
    EXPECT_EQ(prompter.questions.last().text, "\rFinalizam procedura cu POTENTIAL CUMPARATOR ?");
    EXPECT_EQ(stare(id), 5);
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND IDC=? AND (BLOCAT='12' OR BLOCAT='21' OR BLOCAT='22')", {id, chosen}),
              3);
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE='FINALIZARE CU POTENTIAL CUMPARATOR - Cererea 1'"), 1);
}

TEST_F(AnswersTest, WithoutAnswersStageOneEndsThenTheFileClosesWithoutCommunication)
{
    const qlonglong id = request();
    prompter.answer({ResultNo, ResultYes, ResultYes});
    EXPECT_FALSE(closing.FinishStage(id));
    EXPECT_EQ(pv1(id), "N");
    ASSERT_TRUE(closing.FinishStage(id));
    EXPECT_EQ(prompter.questions.last().title, "P.V.incheiere Etapa I");
    EXPECT_EQ(pv1(id), "D");
    EXPECT_EQ(stare(id), 0);
    ASSERT_TRUE(closing.FinishStage(id));
    EXPECT_EQ(prompter.questions.last().text, "\rFinalizam Procedura FARA COMUNICARE ?");
    EXPECT_EQ(stare(id), 3);
    EXPECT_EQ(actsAfter(id, 7), (QList<ActSeen>{{"17", 8, actsAfter(id, 7)[0].nr, 0},
                                                {"7", 9, actsAfter(id, 7)[0].nr + 1, 0},
                                                {"10", 10, actsAfter(id, 7)[0].nr + 2, 0}}));
    EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND BLOCAT='7' AND DESTINATAR='POPESCU ION' AND EMITENT='DIN OFICIU'", {id}),
              1);
}

TEST_F(AnswersTest, ARequestMarkedAnsweredWithoutAnswerInItsStageWritesNothing)
{
    const qlonglong id = request();
    SetRequestState(id, 1);
    const qlonglong acts = countOf("AlteActe.dbf");
    EXPECT_FALSE(closing.FinishStage(id));
    EXPECT_EQ(countOf("AlteActe.dbf"), acts);
    EXPECT_EQ(stare(id), 1);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].buttons, ButtonOk);
}

TEST_F(AnswersTest, DeletingAClosingActRemovesItsGroupAndReopensTheProcedure)
{
    // kind deleted, then the kinds left and the state expected.
    struct Case {
        const char *deleted;
        int stareAfter;
        const char *pv1After;
    };
    for (const Case c : {Case{"8", 1, "N"}, Case{"13", 1, "N"}, Case{"12", 1, "N"}}) {
        SCOPED_TRACE(c.deleted);
        const qlonglong id = request();
        answers.AddAnswer(id, answer("IONESCU"));
        prompter.answer(ResultYes);
        ASSERT_TRUE(closing.FinishStage(id));
        const qlonglong ida = database()
                                  .scalar("SELECT IDA FROM " + QuotedTablePath("AlteActe.dbf") + " WHERE ID=? AND BLOCAT=?",
                                          {id, c.deleted})
                                  .toLongLong();
        touch(ActDocumentPath(ida));
        prompter.answer(ResultYes);
        ASSERT_TRUE(actOps.DeleteAct(ida));
        EXPECT_EQ(prompter.questions.last().kind, KindWarning);
        EXPECT_TRUE(prompter.questions.last().text.endsWith(", REDESCHIDETI Procedura!!\rContinuati ?"));
        EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND (BLOCAT='12' OR BLOCAT='8' OR BLOCAT='13')", {id}), 0);
        EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND BLOCAT='3'", {id}), 1);
        EXPECT_EQ(stare(id), c.stareAfter);
        EXPECT_EQ(pv1(id), c.pv1After);
        EXPECT_FALSE(QFile::exists(ActDocumentPath(ida)));
    }
}

TEST_F(AnswersTest, DeletingTheCancellationReportRemovesTheThreeCancellationActs)
{
    for (const bool answered : {false, true}) {
        SCOPED_TRACE(answered);
        const qlonglong id = request();
        if (answered)
            answers.AddAnswer(id, answer("IONESCU"));
        prompter.answer(ResultYes);
        ASSERT_TRUE(life.CancelProcedure(id));
        const qlonglong ida = database()
                                  .scalar("SELECT IDA FROM " + QuotedTablePath("AlteActe.dbf")
                                              + " WHERE ID=? AND BLOCAT='16'",
                                          {id})
                                  .toLongLong();
        prompter.answer(ResultYes);
        ASSERT_TRUE(actOps.DeleteAct(ida));
        EXPECT_EQ(countOf("AlteActe.dbf", "ID=? AND (BLOCAT='16' OR BLOCAT='18' OR BLOCAT='23')", {id}), 0);
        EXPECT_EQ(stare(id), answered ? 1 : 0);
    }
}

TEST_F(AnswersTest, DeletingTheReportClosingStageOneGoesBackToStageOneByItsOwnAnswers)
{
    const qlonglong id = request();
    prompter.answer(ResultYes);
    ASSERT_TRUE(closing.FinishStage(id));
    ASSERT_EQ(pv1(id), "D");
    answers.AddAnswer(id, answer("VASILE"));
    ASSERT_EQ(stare(id), 1);
    const qlonglong ida =
        database().scalar("SELECT IDA FROM " + QuotedTablePath("AlteActe.dbf") + " WHERE ID=? AND BLOCAT='17'", {id})
            .toLongLong();
    prompter.answer(ResultYes);
    ASSERT_TRUE(actOps.DeleteAct(ida));
    // An ordinary question: the file was open.
    EXPECT_EQ(prompter.questions.last().kind, KindConfirmation);
    EXPECT_EQ(pv1(id), "N");
    // Stage I has no communication: the offer stays stored but does not count.
    EXPECT_EQ(stare(id), 0);
    EXPECT_EQ(countOf("Comunicari.dbf", "ID=? AND RANG=100", {id}), 1);
}

TEST_F(AnswersTest, ActsByHandAndTheSiteAddress)
{
    WriteSetting("CONST", "NumTip", "2");
    const qlonglong id = request();
    EXPECT_EQ(NextEntryNumber(id), "1/8");
    actOps.setToday(kDay.addDays(2));
    const qlonglong site = actOps.AddSiteAddress(id);
    StoredAct a = actOps.LoadAct(site);
    EXPECT_EQ(a.blocat, "11");
    EXPECT_EQ(a.number, "1/8");
    EXPECT_EQ(a.line.dataA, kDay.addDays(2));
    EXPECT_TRUE(a.dispatched);
    EXPECT_EQ(a.line.destinatar, "POPESCU ION");
    EXPECT_EQ(a.line.emitent, "DIN OFICIU");
    EXPECT_EQ(a.line.detalii, "Cererea 1");
    EXPECT_EQ(prompter.balloons.last().text, "Listati Adresa de aici!");

    OtherActLine line;
    line.dataA = kDay.addDays(5);
    line.dataExp = QDate(1899, 12, 31);
    line.modul = "intrare";
    line.emitent = "OCPI";
    line.destinatar = "PRIMARIA ARVENA";
    line.tipAct = "ADRESA OCPI";
    line.detalii = "Raspuns";
    const qlonglong byHand = actOps.AddOtherAct(id, line);
    a = actOps.LoadAct(byHand);
    EXPECT_EQ(a.number, "1/9");
    EXPECT_FALSE(a.locked());
    EXPECT_FALSE(a.dispatched);
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE='Adaugare ADRESA OCPI nr.1/9'"), 1);
    // Changed in full.
    line.dataA = kDay.addDays(6);
    line.modul = "iesire";
    line.tipAct = "ALTA ADRESA";
    actOps.EditAct(byHand, line);
    a = actOps.LoadAct(byHand);
    EXPECT_EQ(a.line.dataA, kDay.addDays(6));
    EXPECT_EQ(a.line.modul, "iesire");
    EXPECT_EQ(a.line.tipAct, "ALTA ADRESA");
    // Deleted with a plain question, the request unchanged.
    prompter.answer(ResultYes);
    ASSERT_TRUE(actOps.DeleteAct(byHand));
    EXPECT_EQ(prompter.questions.last().text, "\rStergeti ALTA ADRESA nr.1/9 ?");
    EXPECT_EQ(stare(id), 0);
}

TEST_F(AnswersTest, EditingANotificationKeepsItsKindDateAndType)
{
    const qlonglong id = request();
    const qlonglong ida =
        database().scalar("SELECT IDA FROM " + QuotedTablePath("AlteActe.dbf") + " WHERE ID=? AND BLOCAT='14'", {id})
            .toLongLong();
    StoredAct a = actOps.LoadAct(ida);
    ASSERT_TRUE(a.locked());
    OtherActLine line = a.line;
    line.dataA = kDay.addDays(9);
    line.modul = "intrare";
    line.tipAct = "ALTCEVA";
    line.destinatar = "A. NOU";
    line.dataExp = kDay.addDays(10);
    actOps.EditAct(ida, line);
    const StoredAct after = actOps.LoadAct(ida);
    EXPECT_EQ(after.blocat, "14");
    EXPECT_EQ(after.line.dataA, kDay);
    EXPECT_EQ(after.line.modul, "iesire");
    EXPECT_EQ(after.line.tipAct, "NOTIFICARE PREEMPTOR");
    EXPECT_EQ(after.line.destinatar, "A. NOU");
    EXPECT_EQ(after.line.dataExp, kDay.addDays(10));
    EXPECT_TRUE(after.dispatched);
}

} // namespace
