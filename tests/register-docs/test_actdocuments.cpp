// The document of every act kind and of the answers: each template filled
// whole, the list of holders with its rows cut per holder, the notifications
// one page each, the display report's notifications and list number, and the
// numbers the letters and minutes cite. Documents are read back by unrtf.
#include "datastore/amountinwords.h"
#include "docfixture.h"
#include "documentsupport.h"
#include "register/documents/actdocuments.h"
#include "register/documents/listbuilder.h"
#include "register/documents/notifications.h"
#include "startupfixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

namespace {

const QRegularExpression kAnyMarker(QStringLiteral("\\[[A-Za-z0-9]+\\]"));

class ActDocumentsTest : public ::testing::Test {
protected:
    QString target(const QString &name) const { return QDir(session().dataFolder).filePath(name); }

    // The act's document, built into "doc<ida>.rtf", as unrtf reads it (the
    // RTF itself when unrtf is missing).
    QString actText(qint64 ida, qint64 selected = 0)
    {
        const QString path = target(QStringLiteral("doc%1.rtf").arg(ida));
        const DocumentResult r = BuildActDocument(ida, path, selected);
        EXPECT_EQ(r.status, DocumentStatus::Written) << ida << " " << r.message.toStdString();
        const QString text = documents::unrtfText(path);
        return text.isNull() ? QString::fromLatin1(documents::readFile(path)) : text.simplified();
    }

    ProgramFolderFixture program;
};

class FullRequestTest : public ActDocumentsTest {
protected:
    void SetUp() override
    {
        docfixture::prepareDataFolder(perRequest());
        docfixture::addFullRequest();
    }
    virtual bool perRequest() const { return true; }
};

class IndividualNumberingTest : public FullRequestTest {
protected:
    bool perRequest() const override { return false; }
};

QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

} // namespace

TEST_F(FullRequestTest, EveryKindFillsItsTemplateAndLeavesNoMarker)
{
    for (qint64 ida = 1; ida <= 25; ++ida) {
        SCOPED_TRACE(ida);
        const QString path = target(QStringLiteral("AlteActe%1.rtf").arg(ida));
        const DocumentResult r = BuildActDocument(ida, path);
        ASSERT_EQ(r.status, DocumentStatus::Written) << r.message.toStdString();
        const QString rtf = QString::fromLatin1(documents::readFile(path));
        EXPECT_FALSE(kAnyMarker.match(rtf).hasMatch()) << kAnyMarker.match(rtf).captured().toStdString();
    }
    for (qint64 idc : {1, 2}) {
        SCOPED_TRACE(idc);
        const QString path = target(QStringLiteral("ComAc%1.rtf").arg(idc));
        ASSERT_EQ(BuildAnswerDocument(idc, path).status, DocumentStatus::Written);
        const QString rtf = QString::fromLatin1(documents::readFile(path));
        EXPECT_FALSE(kAnyMarker.match(rtf).hasMatch()) << kAnyMarker.match(rtf).captured().toStdString();
    }
    // Nothing is left in the program folder: no list, no scratch table.
    EXPECT_EQ(filesIn(session().programFolder, QStringLiteral("LP*")), QStringList());
    EXPECT_EQ(filesIn(session().dataFolder, QStringLiteral("*.part")), QStringList());
}

TEST_F(FullRequestTest, AnActWithoutADocumentProducesNothing)
{
    docfixture::addAct({40, 1, QStringLiteral("99"), 300, 12, 40});
    for (qint64 ida : {26, 40}) {
        const QString path = target(QStringLiteral("AlteActe%1.rtf").arg(ida));
        EXPECT_EQ(BuildActDocument(ida, path).status, DocumentStatus::NoDocument);
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(FullRequestTest, TheListWithACommunicationAddsTheNewcomerOnceUnderItsRank)
{
    const QList<ListEntry> entries = HolderListEntries(1, 3);
    QStringList names;
    for (const ListEntry &e : entries)
        names << QString::number(e.rank) + QLatin1Char(' ') + e.name + QLatin1Char(' ') + e.address;
    EXPECT_EQ(names, (QStringList{QStringLiteral("1 VECIN DOI Str. Campului 2"), QStringLiteral("1 VECIN UNU Str. Campului 1"),
                                  QStringLiteral("2 ARENDAS TREI Str. Campului 3"),
                                  QStringLiteral("2 STRAIN VASILE loc.Ghimbav, Str. Noua 7"),
                                  QStringLiteral("7 STATUL ROMAN Str. Campului 4")}));
    EXPECT_EQ(filesIn(session().programFolder, QStringLiteral("LP1*")), QStringList());

    const QString text = actText(9);
    EXPECT_EQ(text.count(QStringLiteral("STRAIN VASILE")), 1);
    EXPECT_LT(text.indexOf(QStringLiteral("ARENDAS TREI")), text.indexOf(QStringLiteral("2. STRAIN VASILE")));
    // The list made with the request has no newcomer.
    EXPECT_FALSE(actText(1).contains(QStringLiteral("STRAIN VASILE")));
}

TEST_F(FullRequestTest, ARankWithoutHoldersKeepsItsEmptyRowAndItsMarkIsCleared)
{
    const QByteArray list = documents::readFile(target(QStringLiteral("Anexa_3.rtf")));
    const QByteArray filled = FillHolderList(list, {{1, QStringLiteral("A"), QStringLiteral("x")},
                                                   {1, QStringLiteral("B"), QStringLiteral("y")},
                                                   {3, QStringLiteral("C"), QStringLiteral("z")}});
    // One row per holder of ranks I and III, one empty "1." row for each other rank.
    EXPECT_EQ(filled.count("\\ltrrow}\\pard "), 8);
    EXPECT_EQ(filled.count(" 1.\\cell"), 7);
    EXPECT_EQ(filled.count(" 2.\\cell"), 1);
    EXPECT_TRUE(filled.contains("( X ) Rangul I "));
    EXPECT_TRUE(filled.contains("(  ) Rangul II "));
    EXPECT_TRUE(filled.contains("( X ) Rangul III "));
    const QRegularExpression rankMarker(QStringLiteral("\\[(p|Pree|Adresa)[1-7]\\]"), QRegularExpression::CaseInsensitiveOption);
    EXPECT_FALSE(rankMarker.match(QString::fromLatin1(filled)).hasMatch());
    const QString text = actText(1);
    EXPECT_TRUE(text.contains(QStringLiteral("1. VECIN DOI Str. Campului 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("2. VECIN UNU Str. Campului 1")));
}

TEST_F(FullRequestTest, NotificationsMakeOneDocumentWithAPagePerHolder)
{
    const QString path = target(QStringLiteral("notificari.rtf"));
    ASSERT_EQ(BuildActDocument(3, path).status, DocumentStatus::Written);
    const QByteArray rtf = documents::readFile(path);
    EXPECT_EQ(rtf.count(" \\par \\page "), 3);
    const qsizetype doi = rtf.indexOf("VECIN DOI");
    const qsizetype unu = rtf.indexOf("VECIN UNU");
    const qsizetype trei = rtf.indexOf("ARENDAS TREI");
    const qsizetype statul = rtf.indexOf("STATUL ROMAN");
    EXPECT_TRUE(doi >= 0 && doi < unu && unu < trei && trei < statul);
    // Each page carries its own notification's number: 12/2 to 12/5.
    for (const char *number : {"Nr. 12/2 din", "Nr. 12/3 din", "Nr. 12/4 din", "Nr. 12/5 din"})
        EXPECT_TRUE(rtf.contains(number)) << number;
    EXPECT_TRUE(rtf.contains("ANA VASILE;  si BOGDAN ROTARU prin ION MANDA"));
}

TEST_F(FullRequestTest, SellersAndFormsOfAddressOfSeveralSellers)
{
    const QString site = actText(17); // kind 11 with two sellers
    EXPECT_TRUE(site.contains(QStringLiteral("ANA VASILE domiciliat in Loc1, BOGDAN ROTARU domiciliat in Loc2")));
    EXPECT_TRUE(site.contains(QStringLiteral("numitii ANA VASILE si BOGDAN ROTARU prin ION MANDA")));
    const QString decision = actText(21); // kind 12: the chosen communication
    EXPECT_TRUE(decision.contains(QStringLiteral("STRAIN VASILE")));
    EXPECT_TRUE(decision.contains(QStringLiteral("Preemptor de rangul 2")));
    EXPECT_TRUE(decision.contains(AmountInWords(QStringLiteral("16000"))));
    EXPECT_TRUE(decision.contains(QStringLiteral("prin ION MANDA, CNP 1700303080033")));
}

TEST_F(IndividualNumberingTest, LettersForwardingMinutesCiteTheMinutesNumberAndThePriceInWords)
{
    const struct {
        qint64 ida;
        bool price;
    } letters[] = {{19, false}, {16, false}, {23, true}, {25, true}};
    for (const auto &letter : letters) {
        SCOPED_TRACE(letter.ida);
        const qint64 own = LoadAct(letter.ida).number(QStringLiteral("NR"));
        const QString text = actText(letter.ida);
        EXPECT_TRUE(text.contains(QStringLiteral("procesului-verbal nr. %1 din").arg(own - 1)));
        EXPECT_FALSE(text.contains(QStringLiteral("procesului-verbal nr. %1 din").arg(own)));
        EXPECT_EQ(text.contains(AmountInWords(QStringLiteral("16000"))), letter.price);
    }
}

TEST_F(IndividualNumberingTest, TheAnswerNumberIsTheAnswersOwnWhenTheActHasOne)
{
    // Templates of our own that show the two worked-back numbers.
    for (const char *file : {"PVOfertant.rtf", "Anexa_11.rtf", "PVComun.rtf"})
        documents::writeTemplate(target(QString::fromLatin1(file)), {"[NRCOMUNICARE]|[NRLP]\\par"});
    // The offer 113 and its display report 114: counting back two would name 112.
    EXPECT_TRUE(actText(12).contains(QStringLiteral("113|113")));
    // The communication 109 and its display report 111.
    EXPECT_TRUE(actText(10).contains(QStringLiteral("109|110")));
    // An act without an answer keeps the arithmetic: 116 gives 114 and 115.
    EXPECT_TRUE(actText(14).contains(QStringLiteral("114|115")));
    // A gone answer too.
    sqlstore::database().exec(QStringLiteral("DELETE FROM ") + QuotedTablePath(QStringLiteral("Comunicari.dbf"))
                              + QStringLiteral(" WHERE IDC=2"));
    EXPECT_TRUE(actText(12).contains(QStringLiteral("112|113")));
}

class DisplayReportTest : public ActDocumentsTest {
protected:
    void SetUp() override { docfixture::prepareDataFolder(true); }
};

TEST_F(DisplayReportTest, ReportTwelveFiveWithThreeHoldersCitesListTwelveOne)
{
    docfixture::Request r;
    r.holders = 3;
    docfixture::addOpenedRequest(r, {QStringLiteral("ANA VASILE"), QStringLiteral("BOGDAN ROTARU"), QStringLiteral("CRISTI DOBRE")});
    const QString text = actText(1005);
    EXPECT_TRUE(text.contains(QStringLiteral("Nr. 12/5 din 03.03.2025")));
    EXPECT_TRUE(text.contains(QStringLiteral("lista preemptorilor nr. 12/1.")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("Notificarea preemtorului PREEMPTOR 1 nr.12/2/03.03.2025 pentru terenul supus "
                                                 "vânzarii de proprietarul/proprietarii ANA VASILE, BOGDAN ROTARU si CRISTI DOBRE")));
    EXPECT_EQ(text.count(QStringLiteral("Notificarea preemtorului")), 3);
}

TEST_F(DisplayReportTest, WithoutNotificationsTheReportSaysSo)
{
    docfixture::addOpenedRequest({}, {QStringLiteral("ANA VASILE")});
    EXPECT_TRUE(actText(1002).contains(QStringLiteral("Notificarea preemtorului: -")));
}

TEST_F(DisplayReportTest, NotificationsFollowTheirHolderByIdNotByName)
{
    docfixture::Request r;
    r.holders = 0;
    docfixture::addOpenedRequest(r, {QStringLiteral("ANA VASILE")});
    // Two holders of one name, and one whose notification went to an edited name.
    docfixture::addHolder(1, 1, 1, QStringLiteral("POP ION"), QStringLiteral("Str. A"));
    docfixture::addHolder(2, 1, 2, QStringLiteral("POP ION"), QStringLiteral("Str. B"));
    docfixture::addHolder(3, 1, 3, QStringLiteral("NUME NOU"), QStringLiteral("Str. C"));
    docfixture::addHolder(4, 1, 4, QStringLiteral("VECHI"), QStringLiteral("Str. D"));
    docfixture::addAct({21, 1, QStringLiteral("14"), 51, 12, 21, 1, QStringLiteral("POP ION")});
    docfixture::addAct({22, 1, QStringLiteral("14"), 52, 12, 22, 2, QStringLiteral("POP ION")});
    docfixture::addAct({23, 1, QStringLiteral("14"), 53, 12, 23, 3, QStringLiteral("NUME VECHI")});
    // An act of an older version: no holder id, found by its recipient's name.
    docfixture::addAct({24, 1, QStringLiteral("14"), 54, 12, 24, 0, QStringLiteral("VECHI")});
    const QString text = actText(1002);
    EXPECT_EQ(text.count(QStringLiteral("Notificarea preemtorului POP ION")), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("Notificarea preemtorului NUME NOU nr.12/23/")));
    EXPECT_TRUE(text.contains(QStringLiteral("Notificarea preemtorului VECHI nr.12/24/")));

    // Renaming a holder renames its own notification only.
    EXPECT_EQ(RenameHolderNotification(1, 1, QStringLiteral("POP ION"), QStringLiteral("POP IOAN")), 1);
    EXPECT_EQ(LoadAct(21)[QStringLiteral("DESTINATAR")], QStringLiteral("POP IOAN"));
    EXPECT_EQ(LoadAct(22)[QStringLiteral("DESTINATAR")], QStringLiteral("POP ION"));
    EXPECT_EQ(RenameHolderNotification(1, 4, QStringLiteral("VECHI"), QStringLiteral("NOU")), 1);
    EXPECT_EQ(LoadAct(24)[QStringLiteral("DESTINATAR")], QStringLiteral("NOU"));
}

TEST(ActKindTemplateTest, TheTemplateFollowsTheSellersThePersonKindAndTheAnswer)
{
    RequestRecord one;
    RequestRecord several;
    several.sellerCount = 3;
    RequestRecord company;
    company.naturalPerson = false;
    company.legalPerson = true;
    Row communication;
    communication.set(QStringLiteral("RANG"), QStringLiteral("2"), 2);
    communication.set(QStringLiteral("TIPPF"), QStringLiteral("FIZICA"));
    Row companyOffer;
    companyOffer.set(QStringLiteral("RANG"), QStringLiteral("100"), 100);
    companyOffer.set(QStringLiteral("TIPPF"), QStringLiteral("JURIDICA"));
    const struct {
        int kind;
        const RequestRecord &request;
        Row answer;
        ActBuilder builder;
        const char *file;
    } cases[] = {
        {1, one, {}, ActBuilder::DisplayReport, "Anexa_9.rtf"},
        {3, one, {}, ActBuilder::HolderList, "Anexa_3.rtf"},
        {9, one, {}, ActBuilder::HolderList, "Anexa_3.rtf"},
        {14, one, {}, ActBuilder::Notifications, "Anexa_4.rtf"},
        {11, one, {}, ActBuilder::Common, "A3A_AdrSit.rtf"},
        {11, several, {}, ActBuilder::Common, "A3A_AdrSitM.rtf"},
        {11, company, {}, ActBuilder::Common, "A3A_AdrSitJ.rtf"},
        {12, one, {}, ActBuilder::Common, "Anexa_7PF.rtf"},
        {12, company, {}, ActBuilder::Common, "Anexa_7PJ.rtf"},
        {20, one, communication, ActBuilder::Common, "ANEXA_5PF.rtf"},
        {20, one, companyOffer, ActBuilder::Common, "ANEXA_6PJ.rtf"},
        {23, one, {}, ActBuilder::Common, "CerereAnulOf.rtf"},
        {0, one, {}, ActBuilder::None, ""},
        {24, one, {}, ActBuilder::None, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind);
        const ActTemplate t = ActKindTemplate(c.kind, c.request, c.answer);
        EXPECT_EQ(t.builder, c.builder);
        EXPECT_EQ(t.file, QString::fromLatin1(c.file));
    }
}

TEST_F(ActDocumentsTest, OneSellerAndACompanyGetTheirSiteLetterWhole)
{
    docfixture::prepareDataFolder();
    docfixture::Request woman;
    docfixture::addOpenedRequest(woman, {QStringLiteral("ANA VASILE")});
    sqlstore::database().exec(QStringLiteral("UPDATE ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf"))
                              + QStringLiteral(" SET CNPCUI='2800101080018' WHERE ID=1"));
    docfixture::Request company;
    company.id = 2;
    company.tippf = QStringLiteral("JURIDICA");
    docfixture::addOpenedRequest(company, {QStringLiteral("AGRO SRL")});
    docfixture::addAct({50, 1, QStringLiteral("11"), 80, 12, 9});
    docfixture::addAct({51, 2, QStringLiteral("11"), 81, 12, 9});
    const QString one = actText(50);
    EXPECT_TRUE(one.contains(QStringLiteral("dna. ANA VASILE")));
    EXPECT_TRUE(one.contains(QStringLiteral("doamnei ANA VASILE")));
    EXPECT_TRUE(actText(51).contains(QStringLiteral("AGRO SRL")));
    for (const char *file : {"doc50.rtf", "doc51.rtf"}) {
        const QString rtf = QString::fromLatin1(documents::readFile(target(QString::fromLatin1(file))));
        EXPECT_FALSE(kAnyMarker.match(rtf).hasMatch()) << kAnyMarker.match(rtf).captured().toStdString();
    }
}
