// Whole files carried from the request to their closing through the register's
// operations, in both numbering modes: after every step each row of the file
// (answers "C" and acts by kind) must carry the register number, file number,
// answer link and date worked out by hand below, the request its STARE and
// PV1; at the end every act's and answer's document is built with no marker
// left unfilled.
//
// The register holds an earlier file first (request NR 40 / NR2 12, two
// holders IDP 1 and 2, acts NR 41-46), so the file under test is request NR 47,
// per-request number 13, whose holders start at IDP 3 and whose answers start
// at IDC 1; its own file numbers start again at 1.
#include "registertesting.h"

#include "datastore/counters.h"
#include "register/actoperations.h"
#include "register/answeroperations.h"
#include "register/cacheddocuments.h"
#include "register/deadlines.h"
#include "register/documents/documentlisting.h"
#include "register/stageclosing.h"
#include "templates/catalogue.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

using namespace registertest;
using sqlstore::database;

namespace {

// The days the steps happen on. The request is dated Monday 3 March 2025: stage
// I (47 working days) ends on 12 May 2025, stage II (30 days more) on 11 June
// 2025; the closing days lie after them.
const QDate kRequestDay(2025, 3, 3);
const QDate kMarch10(2025, 3, 10);
const QDate kMarch17(2025, 3, 17);
const QDate kMarch20(2025, 3, 20);
const QDate kMarch25(2025, 3, 25);
const QDate kJune2(2025, 6, 2);
const QDate kJune5(2025, 6, 5);
const QDate kJuly15(2025, 7, 15);
const QDate kStageOneEnd(2025, 5, 12);
const QDate kStageTwoEnd(2025, 6, 11);

int serial(const QDate &day)
{
    return int(QDate(1899, 12, 30).daysTo(day));
}

const QString kSeller = QStringLiteral("POPESCU ION");

// One row of the file: "C" for a communication or offer (Comunicari), else the
// act's BLOCAT; its NR, NR2PER, IDC and date (DATAC of an answer, DATAA of an
// act).
struct FileRow {
    QString kind;
    qlonglong nr = 0;
    int nr2per = 0;
    qlonglong idc = 0;
    QDate date;
    bool operator==(const FileRow &) const = default;
};
void PrintTo(const FileRow &r, std::ostream *os)
{
    *os << r.kind.toStdString() << " NR " << r.nr << " @" << r.nr2per << " idc " << r.idc << " "
        << r.date.toString(Qt::ISODate).toStdString();
}

// A row as stored, with its IDA or IDC and its details.
struct StoredRow {
    FileRow row;
    qlonglong key = 0;
    QString detalii;
};

QList<StoredRow> fileRows(qlonglong id)
{
    QList<StoredRow> rows;
    sqlstore::Query c = database().query("SELECT IDC, NR, NR2PER, DATAC FROM " + QuotedTablePath("Comunicari.dbf")
                                             + " WHERE ID=?",
                                         {id});
    for (bool more = c.first(); more; more = c.next())
        rows << StoredRow{{"C", c.value(1).toLongLong(), c.value(2).toInt(), c.value(0).toLongLong(), c.value(3).toDate()},
                          c.value(0).toLongLong(),
                          {}};
    sqlstore::Query a = database().query("SELECT IDA, BLOCAT, NR, NR2PER, IDC, DATAA, DETALII FROM "
                                             + QuotedTablePath("AlteActe.dbf") + " WHERE ID=?",
                                         {id});
    for (bool more = a.first(); more; more = a.next())
        rows << StoredRow{{a.value(1).toString().trimmed(), a.value(2).toLongLong(), a.value(3).toInt(),
                           a.value(4).toLongLong(), a.value(5).toDate()},
                          a.value(0).toLongLong(),
                          a.value(6).toString().trimmed()};
    std::sort(rows.begin(), rows.end(), [](const StoredRow &x, const StoredRow &y) { return x.row.nr < y.row.nr; });
    return rows;
}

// One step of a file: what the clerk does, the rows it adds (by hand), and the
// request's STARE and PV1 after it.
struct Step {
    const char *what;
    std::function<void()> run;
    QList<FileRow> added;
    int stare;
    const char *pv1;
};

// A numbering mode and what the file's request shows in it.
struct Numbering {
    const char *name;
    const char *numTip;
    bool perRequest;
    // The request's display number: NR, or NR2 per request.
    const char *requestNumber;
};
void PrintTo(const Numbering &n, std::ostream *os)
{
    *os << n.name;
}

const QRegularExpression kAnyMarker(QStringLiteral("\\[[A-Za-z0-9]+\\]"));

class WholeFileTest : public RegisterTest, public ::testing::WithParamInterface<Numbering> {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        ASSERT_TRUE(ExtractTemplates(session().dataFolder, session().programFolder));
        WriteSetting("CONST", "LOCALIT", "ARVENA");
        WriteSetting("CONST", "JUDET", "5");
        WriteSetting("CONST", "PRIMAR", "IONESCU PETRE");
        WriteSetting("CONST", "SECRETAR", "MARIN ELENA");
        WriteSetting("CONST", "SITE", "www.arvena.ro");
        WriteSetting("CONST", "NumTip", GetParam().numTip);
        // The counters as the administration dialog left them this year.
        SetNextNumber("NR", 40 * 10000);
        SetNextNumber("NR2", 12 * 10000);
        earlier = add(QDate(2025, 2, 3), {"VASILESCU DAN"}, {{"VECIN X", 1}, {"VECIN Y", 2}});
        ASSERT_EQ(requestValue(earlier, "NR").toLongLong(), 40);
    }

    void TearDown() override
    {
        if (hadOpen)
            qputenv("ARVENA3_OPEN", savedOpen);
        else
            qunsetenv("ARVENA3_OPEN");
    }

    // The file under test, with the given holders (IDP 3, 4, ... in rank order).
    void openFile(const QList<Holder> &holders)
    {
        id = add(kRequestDay, {kSeller}, holders);
        ASSERT_EQ(requestValue(id, "NR").toLongLong(), 47);
        ASSERT_EQ(requestValue(id, "NR2").toLongLong(), 13);
        EXPECT_EQ(LoadRequestFile(id).displayNumber, GetParam().requestNumber);
        const StageDeadlines ends = WorkingDayDeadlines(serial(kRequestDay), DeadlineTerms());
        EXPECT_EQ(ends.dataScad1, serial(kStageOneEnd));
        EXPECT_EQ(ends.dataScad2, serial(kStageTwoEnd));
    }

    // An answer as the register adds it: the number the dialog shows is the
    // one the answer is stored under.
    void addAnswer(const AnswerLine &a)
    {
        ASSERT_TRUE(answers.CanAddAnswer(id));
        const QString shown = NextEntryNumber(id);
        const qlonglong idc = answers.AddAnswer(id, a);
        EXPECT_EQ(answers.LoadAnswer(idc).number, shown);
    }

    // The stage button on `day`: shown only once the term of the stage has
    // passed (not yet on its last day), then its question answered "Da".
    void finishStage(const QDate &day)
    {
        RequestFacts facts;
        facts.datac = serial(kRequestDay);
        facts.stare = requestValue(id, "STARE").toInt();
        facts.pv1 = requestValue(id, "PV1").toString().trimmed();
        const QDate lastDay = facts.pv1 == "N" ? kStageOneEnd : kStageTwoEnd;
        EXPECT_EQ(ComputeRequestColumns(facts, DeadlineTerms(), GetParam().perRequest, serial(lastDay)).Expirat, "");
        EXPECT_EQ(ComputeRequestColumns(facts, DeadlineTerms(), GetParam().perRequest, serial(day)).Expirat, "X");
        closing.setToday(day);
        prompter.answer(ResultYes);
        ASSERT_TRUE(closing.FinishStage(id));
    }

    // What a row shows as its number in the mode under test.
    QString expectedDisplay(const FileRow &r) const
    {
        return GetParam().perRequest ? QStringLiteral("13/%1").arg(r.nr2per) : QString::number(r.nr);
    }

    // Runs the steps, checking the whole file after each.
    void run(const QList<Step> &steps)
    {
        QList<FileRow> expected;
        for (const Step &step : steps) {
            SCOPED_TRACE(step.what);
            step.run();
            if (::testing::Test::HasFatalFailure())
                return;
            expected += step.added;
            QList<FileRow> actual;
            for (const StoredRow &s : fileRows(id))
                actual << s.row;
            EXPECT_EQ(actual, expected);
            EXPECT_EQ(requestValue(id, "STARE").toInt(), step.stare);
            EXPECT_EQ(requestValue(id, "PV1").toString().trimmed(), step.pv1);
            // The earlier file is left alone.
            EXPECT_EQ(countOf("AlteActe.dbf", "ID=?", {earlier}), 6);
            EXPECT_EQ(requestValue(earlier, "STARE").toInt(), 0);
        }
        checkNumbersAndDetails();
        checkDocuments();
    }

    // Each row shows its number as the mode says; the acts the procedure
    // writes in the request's name name it by its display number, those of an
    // answer and of a cancellation by its NR.
    void checkNumbersAndDetails()
    {
        const QString byDisplay = QStringLiteral("Cererea ") + GetParam().requestNumber + " - " + kSeller;
        const QStringList namedByDisplay{"9", "14", "1", "2", "15", "17", "7", "10", "12", "8", "13", "21", "22"};
        for (const StoredRow &s : fileRows(id)) {
            SCOPED_TRACE(::testing::PrintToString(s.row));
            if (s.row.kind == "C") {
                EXPECT_EQ(answers.LoadAnswer(s.key).number, expectedDisplay(s.row));
                continue;
            }
            EXPECT_EQ(actOps.LoadAct(s.key).number, expectedDisplay(s.row));
            if (namedByDisplay.contains(s.row.kind))
                EXPECT_EQ(s.detalii, byDisplay);
            else if (QStringList{"3", "4", "5"}.contains(s.row.kind))
                EXPECT_TRUE(s.detalii.startsWith("Preemptor ") && s.detalii.endsWith(" la Cererea nr.47 - " + kSeller))
                    << s.detalii.toStdString();
            else if (QStringList{"6", "19"}.contains(s.row.kind))
                EXPECT_TRUE(s.detalii.startsWith("Potential cumparator ")
                            && s.detalii.endsWith(" la Cererea nr.47 - " + kSeller))
                    << s.detalii.toStdString();
            else
                EXPECT_TRUE(s.detalii.endsWith("Cerere nr.47 - " + kSeller)) << s.detalii.toStdString();
        }
    }

    // "Listeaza Act" on every act and "Listeaza Comunicare" on every answer:
    // each document is built, kept under its row's name and fully filled.
    void checkDocuments()
    {
        qputenv("ARVENA3_OPEN", "true");
        DocumentListing listing(prompter);
        for (const StoredRow &s : fileRows(id)) {
            SCOPED_TRACE(::testing::PrintToString(s.row));
            const bool answer = s.row.kind == "C";
            const Listing l = answer ? listing.ListAnswer(s.key) : listing.ListAct(s.key);
            ASSERT_EQ(l.outcome, ListingOutcome::Built);
            EXPECT_EQ(l.path, answer ? CommunicationDocumentPath(s.key) : ActDocumentPath(s.key));
            QFile f(l.path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QString rtf = QString::fromLatin1(f.readAll());
            EXPECT_TRUE(rtf.startsWith("{\\rtf"));
            const QRegularExpressionMatch left = kAnyMarker.match(rtf);
            EXPECT_FALSE(left.hasMatch()) << left.captured().toStdString();
        }
    }

    // The first step of most files: a request with one holder, notified by
    // hand, and its five opening acts.
    Step oneHolderRequest()
    {
        return {"request with one holder",
                [this] { openFile({{"VECIN ANA", 1}}); },
                {{"9", 48, 1, 0, kRequestDay},
                 {"14", 49, 2, 3, kRequestDay},
                 {"1", 50, 3, 0, kRequestDay},
                 {"2", 51, 4, 0, kRequestDay},
                 {"15", 52, 5, 0, kRequestDay}},
                0,
                "N"};
    }

    qlonglong earlier = 0;
    qlonglong id = 0;
    AnswerOperations answers{prompter};
    ActOperations actOps{prompter};
    QList<bool> chooserCalls;
    qlonglong chosen = 0;
    StageClosing closing{prompter, [this](bool communications) {
                             chooserCalls << communications;
                             return chosen;
                         }};
    // The opener of the documents, set to a command that opens nothing.
    const bool hadOpen = qEnvironmentVariableIsSet("ARVENA3_OPEN");
    const QByteArray savedOpen = qgetenv("ARVENA3_OPEN");
};

} // namespace

TEST_P(WholeFileTest, TwoCommunicationsThenTheDecisionForTheSecondHolder)
{
    run({{"request with two holders",
          [&] { openFile({{"VECIN ANA", 1, true}, {"ARENDAS ION", 2}}); },
          {{"9", 48, 1, 0, kRequestDay},
           {"14", 49, 2, 3, kRequestDay},
           {"14", 50, 3, 4, kRequestDay},
           {"1", 51, 4, 0, kRequestDay},
           {"2", 52, 5, 0, kRequestDay},
           {"15", 53, 6, 0, kRequestDay}},
          0,
          "N"},
         {"communication of the rank I holder",
          [&] { addAnswer(answerLine(kMarch10, "VECIN ANA", 1)); },
          {{"C", 54, 7, 1, kMarch10},
           {"3", 55, 8, 1, kMarch10},
           {"4", 56, 9, 1, kMarch10},
           {"5", 57, 10, 1, kMarch10}},
          1,
          "N"},
         {"communication of the rank II holder",
          [&] { addAnswer(answerLine(kMarch17, "ARENDAS ION", 2)); },
          {{"C", 58, 11, 2, kMarch17},
           {"3", 59, 12, 2, kMarch17},
           {"4", 60, 13, 2, kMarch17},
           {"5", 61, 14, 2, kMarch17}},
          1,
          "N"},
         {"decision choosing the second holder",
          [&] {
              chosen = 2;
              finishStage(kJune2);
              EXPECT_EQ(chooserCalls, QList<bool>{true});
          },
          {{"12", 62, 15, 2, kJune2}, {"8", 63, 16, 2, kJune2}, {"13", 64, 17, 2, kJune2}},
          2,
          "N"}});
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE=?", {QStringLiteral("FINALIZARE CU COMUNICARE - Cererea ")
                                                   + GetParam().requestNumber}),
              1);
}

TEST_P(WholeFileTest, NoCommunicationThenOneOfferThenTheDecisionForTheBuyer)
{
    run({oneHolderRequest(),
         {"stage I closed without communication", [&] { finishStage(kJune2); }, {{"17", 53, 6, 0, kJune2}}, 0, "D"},
         // The offer's list number 8 is skipped.
         {"offer of 150 000 lei",
          [&] { addAnswer(answerLine(kJune5, "AGRO VEST SRL", 1, "150000")); },
          {{"C", 54, 7, 1, kJune5}, {"6", 55, 9, 1, kJune5}, {"19", 56, 10, 1, kJune5}},
          1,
          "D"},
         {"decision choosing the buyer",
          [&] { finishStage(kJuly15); },
          {{"12", 57, 11, 1, kJuly15}, {"21", 58, 12, 1, kJuly15}, {"22", 59, 13, 1, kJuly15}},
          5,
          "D"}});
    EXPECT_TRUE(chooserCalls.isEmpty());
    EXPECT_EQ(database().scalar("SELECT RANG FROM " + QuotedTablePath("Comunicari.dbf") + " WHERE IDC=1"), 100);
    EXPECT_EQ(answers.LoadAnswer(1).line.pret, "150000");
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE=?", {QStringLiteral("FINALIZARE CU POTENTIAL CUMPARATOR - Cererea ")
                                                   + GetParam().requestNumber}),
              1);
}

TEST_P(WholeFileTest, NothingReceivedInEitherStage)
{
    run({oneHolderRequest(),
         {"stage I closed without communication", [&] { finishStage(kJune2); }, {{"17", 53, 6, 0, kJune2}}, 0, "D"},
         {"finalisation without communication",
          [&] { finishStage(kJuly15); },
          {{"7", 54, 7, 0, kJuly15}, {"10", 55, 8, 0, kJuly15}},
          3,
          "D"}});
    EXPECT_EQ(countOf("Log.dbf", "ACTIUNE=?",
                      {QStringLiteral("FINALIZARE FARA COMUNICARE - Cererea ") + GetParam().requestNumber}),
              1);
}

TEST_P(WholeFileTest, CancelledThenReactivatedAndAnsweredAgain)
{
    run({oneHolderRequest(),
         {"communication",
          [&] { addAnswer(answerLine(kMarch10, "VECIN ANA", 1)); },
          {{"C", 53, 6, 1, kMarch10},
           {"3", 54, 7, 1, kMarch10},
           {"4", 55, 8, 1, kMarch10},
           {"5", 56, 9, 1, kMarch10}},
          1,
          "N"},
         {"procedure cancelled",
          [&] {
              life.setToday(kMarch20);
              prompter.answer(ResultYes);
              ASSERT_TRUE(life.CancelProcedure(id));
          },
          {{"23", 57, 10, 0, kMarch20}, {"16", 58, 11, 0, kMarch20}, {"18", 59, 12, 0, kMarch20}},
          4,
          "N"},
         {"closed file takes no answer",
          [&] {
              EXPECT_FALSE(answers.CanAddAnswer(id));
              EXPECT_EQ(prompter.questions.last().text, "\rDosarul este inchis!");
          },
          {},
          4,
          "N"},
         // The communication of stage I is still there: back to answered.
         {"request reactivated",
          [&] {
              prompter.answer(ResultYes);
              ASSERT_TRUE(life.ReactivateRequest(id));
          },
          {},
          1,
          "N"},
         {"second communication after the cancellation acts",
          [&] { addAnswer(answerLine(kMarch25, "STRAIN VASILE", 3)); },
          {{"C", 60, 13, 2, kMarch25},
           {"3", 61, 14, 2, kMarch25},
           {"4", 62, 15, 2, kMarch25},
           {"5", 63, 16, 2, kMarch25}},
          1,
          "N"}});
}

INSTANTIATE_TEST_SUITE_P(Numbering, WholeFileTest,
                         ::testing::Values(Numbering{"Individual", "1", false, "47"},
                                           Numbering{"PerRequest", "2", true, "13"}),
                         [](const ::testing::TestParamInfo<Numbering> &info) { return std::string(info.param.name); });
