// The request-and-offer form, read back as text by unrtf: the seller blocks
// and signatures of several sellers, the opening words, the holders by rank,
// and no marker left behind.
#include "docfixture.h"
#include "documentsupport.h"
#include "register/documents/requestform.h"
#include "startupfixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

namespace {

const QRegularExpression kAnyMarker(QStringLiteral("\\[[A-Za-z0-9]+\\]"));

class RequestFormTest : public ::testing::Test {
protected:
    void SetUp() override { docfixture::prepareDataFolder(); }

    // Builds the form of request 1 and returns the document's bytes.
    QByteArray build()
    {
        const DocumentResult r = BuildRequestForm(1, target());
        EXPECT_EQ(r.status, DocumentStatus::Written) << r.message.toStdString();
        return documents::readFile(target());
    }
    QString target() const { return QDir(session().dataFolder).filePath(QStringLiteral("Cerere1.rtf")); }

    ProgramFolderFixture program;
};

QStringList trimmedLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        lines << line.trimmed();
    return lines;
}

} // namespace

TEST_F(RequestFormTest, ThreeSellersGiveTheirBlocksInOrderAndEachSignatureOnItsOwnLines)
{
    docfixture::Request request;
    request.sellers = 3;
    docfixture::addRequest(request);
    docfixture::addSeller(1, 1, 1, QStringLiteral("ANA VASILE"), QStringLiteral("2800101080018"));
    docfixture::addSeller(2, 1, 2, QStringLiteral("BOGDAN ROTARU"), QStringLiteral("1790202080028"),
                          QStringLiteral("ION MANDA"), QStringLiteral("1700303080039"));
    docfixture::addSeller(3, 1, 3, QStringLiteral("CRISTI DOBRE"), QStringLiteral("1780404080049"));
    const QByteArray rtf = build();
    EXPECT_FALSE(kAnyMarker.match(QString::fromLatin1(rtf)).hasMatch()) << kAnyMarker.match(QString::fromLatin1(rtf)).captured().toStdString();

    const QString text = documents::unrtfText(target());
    if (text.isNull())
        GTEST_SKIP() << "unrtf is not installed";
    // The offer's blocks: seller 1, then "şi" and seller 2, "şi" and seller 3.
    const qsizetype offer = text.indexOf(QString::fromUtf8("OFERTĂ DE VÂNZARE TEREN"));
    ASSERT_GE(offer, 0);
    const qsizetype first = text.indexOf(QStringLiteral("ANA VASILE, CNP 2800101080018"), offer);
    const qsizetype second = text.indexOf(QStringLiteral("BOGDAN ROTARU, CNP 1790202080028"), offer);
    const qsizetype third = text.indexOf(QStringLiteral("CRISTI DOBRE, CNP 1780404080049"), offer);
    ASSERT_GE(first, 0);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    // unrtf breaks the line inside "şi" after its escaped letter.
    const QRegularExpression blanks(QStringLiteral("\\s"));
    EXPECT_TRUE(text.mid(first, third - first).remove(blanks).contains(QString::fromUtf8("şiBOGDANROTARU,CNP")));
    EXPECT_TRUE(text.mid(second, third - second + 20).remove(blanks).contains(QString::fromUtf8("şiCRISTIDOBRE,CNP")));
    EXPECT_TRUE(text.mid(first, second - first).contains(QStringLiteral("la data de 01.01.1980")));
    EXPECT_TRUE(text.mid(second, third - second).contains(QStringLiteral("prin împuternicit ION MANDA")));

    // Signatures 1-3 under the request and under the offer, each name at the
    // start of its own line, never after the dots of the one before; 4-40 blank.
    const QStringList lines = trimmedLines(text);
    EXPECT_EQ(lines.count(QStringLiteral("ANA VASILE")), 2);
    EXPECT_EQ(lines.count(QStringLiteral("BOGDAN ROTARU prin ION MANDA")), 2);
    EXPECT_EQ(lines.count(QStringLiteral("CRISTI DOBRE")), 2);
    EXPECT_EQ(lines.count(QStringLiteral("Semnatura")), 6);
    for (const QString &line : lines)
        EXPECT_FALSE(line.contains(QRegularExpression(QStringLiteral("\\.\\.\\.\\.\\s*[A-Z]")))) << line.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Subsemnatii:")));
    EXPECT_TRUE(text.contains(QStringLiteral("VANZATORI/IMPUTERNICITI,")));
    EXPECT_TRUE(text.contains(QStringLiteral("Vindem teren agricol")));
}

TEST_F(RequestFormTest, OpeningWordsFollowTheSingleSellersCode)
{
    const struct {
        const char *kind;
        const char *code;
        const char *opening;
    } cases[] = {
        {"FIZICA", "2800101080018", "Subsemnata: \\par"},
        {"FIZICA", "6010101080011", "Subsemnata: \\par"},
        {"FIZICA", "1800101080011", "Subsemnatul: \\par"},
        {"FIZICA", "5010101080011", "Subsemnatul: \\par"},
        {"JURIDICA", "28001010", "Subsemnatul: \\par"},
        {"JURIDICA", "RO1234567", "Subsemnatul: \\par"},
    };
    int id = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        docfixture::Request request;
        request.id = ++id;
        request.tippf = QString::fromLatin1(c.kind);
        docfixture::addRequest(request);
        docfixture::addSeller(id, id, 1, QStringLiteral("VANZATOR %1").arg(id), QString::fromLatin1(c.code));
        const QString path = QDir(session().dataFolder).filePath(QStringLiteral("Cerere%1.rtf").arg(id));
        ASSERT_EQ(BuildRequestForm(id, path).status, DocumentStatus::Written);
        const QByteArray rtf = documents::readFile(path);
        EXPECT_TRUE(rtf.contains(c.opening));
        EXPECT_TRUE(rtf.contains("VANZATOR/IMPUTERNICIT,"));
        EXPECT_TRUE(rtf.contains("Declar ca sunt proprietar al"));
        EXPECT_FALSE(kAnyMarker.match(QString::fromLatin1(rtf)).hasMatch());
    }
}

TEST_F(RequestFormTest, HoldersStandUnderTheirRankAndAnEmptyRankPrintsADash)
{
    docfixture::addRequest({});
    docfixture::addSeller(1, 1, 1, QStringLiteral("ANA VASILE"), QStringLiteral("2800101080018"));
    docfixture::addHolder(1, 1, 1, QStringLiteral("VECIN UNU"), QStringLiteral("Str. A 1"));
    docfixture::addHolder(2, 1, 3, QStringLiteral("VECIN TREI"), QStringLiteral("Str. C 3"));
    docfixture::addHolder(3, 1, 1, QStringLiteral("VECIN DOI"), QStringLiteral("Str. B 2"));
    const QByteArray rtf = build();
    // Rank I: both holders in IDP order, with the filled fields only.
    EXPECT_TRUE(rtf.contains("VECIN UNU CNP/CF 1800101080011, ADRESA: STR. A 1, COD POSTAL: 500001; VECIN DOI CNP/CF"));
    EXPECT_TRUE(rtf.contains("VECIN TREI CNP/CF"));
    // Ranks II and IV to VII hold no one.
    EXPECT_EQ(rtf.count("lang1048 -\\cell"), 5);
    EXPECT_FALSE(kAnyMarker.match(QString::fromLatin1(rtf)).hasMatch());
    const QString text = documents::unrtfText(target());
    if (!text.isNull())
        EXPECT_TRUE(text.contains(QStringLiteral("cincisprezecemii lei si cincizeci bani")));
}

TEST_F(RequestFormTest, SellerBlocksGoRightAfterTheMarkerLineInOrder)
{
    const QByteArray form = "a\n[ALTVANZATOR]\nb\n";
    const QByteArray block = "si [V1] [CNP1]\n";
    EXPECT_EQ(WithSellerBlocks(form, block, 1), QByteArray("a\n\nb\n"));
    EXPECT_EQ(WithSellerBlocks(form, block, 3), QByteArray("a\n\nsi [V2] [CNP2]\nsi [V3] [CNP3]\nb\n"));
    EXPECT_EQ(WithSellerBlocks("a\r\n[altvanzator]\r\nb", block, 2), QByteArray("a\r\n\r\nsi [V2] [CNP2]\nb"));
}
