// Every carried template, filled through the document engine with a value
// for each of its markers, leaves no marker behind, and unrtf reads the
// values back with their Romanian letters.
#include "samplefill.h"
#include "templatefiles.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

const QString kLetters = QString::fromUtf8("ăâîşţ ĂÂÎŞŢ");

// A value no other marker's value contains, with the letters that must survive.
QString uniqueValue(const QString &marker)
{
    return QString::fromUtf8("«") + marker.mid(1, marker.size() - 2).toLower() + QString::fromUtf8("» ") + kLetters;
}

// What the document shows for a marker spelled `spelling` in the template: a
// marker written in capitals and longer than four characters gives capitals.
QString shownValue(const QString &spelling)
{
    const QString value = uniqueValue(spelling);
    const bool capitals = spelling.size() > 4 && spelling == spelling.toUpper();
    return capitals ? value.toUpper() : value;
}

struct Filled {
    QString rtf;  // the document as written, Windows-1250 read as Latin-1
    QString text; // what unrtf reads from it
};

class TemplateFilling : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::haveTool("unrtf"))
            GTEST_SKIP() << "unrtf is not installed";
    }

    Filled fill(const QString &resource, const samplefill::Sample &sample)
    {
        const samplefill::TemplateEntry entry{resource, {}, {}, {}};
        const QString dest = folder_.file(resource + ".rtf");
        EXPECT_TRUE(samplefill::fillTemplate(templatesFolder(), entry, dest, uniqueValue, sample))
            << resource.toStdString();
        QFile f(dest);
        Filled filled;
        if (f.open(QIODevice::ReadOnly))
            filled.rtf = QString::fromLatin1(f.readAll());
        // unrtf separates table cells with a tab, which it puts after a cell's
        // first escaped letter; without the tabs each cell's text reads whole.
        filled.text = unrtfText(dest).remove('\t');
        return filled;
    }

    testsupport::TempFolder folder_;
};

const QRegularExpression kAnyMarker(QStringLiteral("\\[[A-Za-z0-9]+\\]"));

int occurrences(const QString &text, const QString &what)
{
    return int(text.count(what));
}

} // namespace

TEST_F(TemplateFilling, EveryTemplateTakesAllItsValuesAndKeepsNoMarker)
{
    samplefill::Sample sample;
    sample.applicants = 3;
    sample.sellers = 2;
    for (const TemplateRow &row : templateTable()) {
        if (row.role == "fragment")
            continue;
        SCOPED_TRACE(row.resource.toStdString());
        const Filled doc = fill(row.resource, sample);
        ASSERT_FALSE(doc.text.isEmpty()) << "unrtf could not read it";
        EXPECT_FALSE(kAnyMarker.match(doc.rtf).hasMatch()) << kAnyMarker.match(doc.rtf).captured().toStdString();
        EXPECT_FALSE(kAnyMarker.match(doc.text).hasMatch()) << kAnyMarker.match(doc.text).captured().toStdString();
        for (const QString &marker : row.markers) {
            if (marker == "[1]" || marker == "[2]" || marker == "[ALTVANZATOR]")
                continue;
            EXPECT_TRUE(doc.text.contains(shownValue(marker))) << marker.toStdString();
        }
        EXPECT_TRUE(doc.rtf.endsWith("}\r\n") || doc.rtf.endsWith("}\n"));
    }
}

TEST_F(TemplateFilling, DocumentTextKeepsItsRomanianLetters)
{
    const Filled notification = fill("Anexa4", {});
    for (const char *words : {"ROMÂNIA", "JUDEŢUL", "Către", "NOTIFICARE", "vânzare", "înscris",
                              "afişării", "cunoştinţă", "Figuraţi"})
        EXPECT_TRUE(notification.text.contains(QString::fromUtf8(words))) << words;
}

TEST_F(TemplateFilling, FormsForSeveralApplicantsGrowByTheFragments)
{
    struct Case {
        const char *form;
        int applicants;
    };
    for (const Case c : {Case{"Anexa_1M", 2}, Case{"Anexa_1M", 6}, Case{"Anexa_2M", 2}, Case{"Anexa_2M", 4},
                         Case{"Anexa2CM", 2}, Case{"Anexa2CM", 6}}) {
        SCOPED_TRACE(std::string(c.form) + " x" + std::to_string(c.applicants));
        samplefill::Sample sample;
        sample.applicants = c.applicants;
        const Filled doc = fill(c.form, sample);
        // One identity block and one signature per applicant.
        EXPECT_EQ(occurrences(doc.text, "Subsemnatul/Subsemnata"), c.applicants);
        EXPECT_EQ(occurrences(doc.text, QString::fromUtf8("Numele şi prenumele:")), c.applicants);
        EXPECT_FALSE(kAnyMarker.match(doc.text).hasMatch());
    }
}

TEST_F(TemplateFilling, RequestFormTakesOneBlockPerSellerInOrder)
{
    for (const char *form : {"COFPF", "CeresiOfertaPJ"}) {
        SCOPED_TRACE(form);
        samplefill::Sample sample;
        sample.sellers = 3;
        const Filled doc = fill(form, sample);
        qsizetype previous = -1;
        for (int k = 1; k <= 3; ++k) {
            const qsizetype at = doc.text.indexOf(shownValue(QString("[VANZATOR%1]").arg(k)));
            ASSERT_GE(at, 0) << "seller " << k;
            EXPECT_GT(at, previous) << "seller " << k << " out of order";
            previous = at;
            EXPECT_TRUE(doc.text.contains(shownValue(QString("[MCalitate%1]").arg(k))));
        }
        EXPECT_FALSE(doc.text.contains(shownValue("[VANZATOR4]")));
        EXPECT_FALSE(kAnyMarker.match(doc.text).hasMatch());
    }
}

TEST_F(TemplateFilling, ListOfHoldersRepeatsTheRankRowPerHolder)
{
    samplefill::Sample sample;
    sample.firstRankHolders = {QString::fromUtf8("Ştefănescu Ţuţu"), QString::fromUtf8("Îndrei Ana")};
    const Filled doc = fill("Anexa3", sample);
    const qsizetype first = doc.text.indexOf(QString::fromUtf8("Ştefănescu Ţuţu"));
    const qsizetype second = doc.text.indexOf(QString::fromUtf8("Îndrei Ana"));
    ASSERT_GE(first, 0);
    ASSERT_GT(second, first);
    // Numbered rows, the second holder on row "2.", and the other ranks untouched.
    EXPECT_TRUE(doc.text.mid(first, second - first).contains("2."));
    EXPECT_EQ(occurrences(doc.rtf, "\\row"), 1 + 7 + 8);
    EXPECT_TRUE(doc.text.contains(shownValue("[Pree7]")));
    EXPECT_FALSE(kAnyMarker.match(doc.text).hasMatch());
}

TEST_F(TemplateFilling, ExpiredTermsReportWritesOneLinePerFile)
{
    samplefill::Sample sample;
    sample.expiredFiles = {"Nr.12 din 02.03.2026 - Pop Ion", QString::fromUtf8("Nr.15 din 04.03.2026 - Ţepeş Ana"),
                           "Nr.19 din 09.03.2026 - Rus Vlad"};
    const Filled doc = fill("RapExpirate", sample);
    qsizetype previous = -1;
    for (const QString &line : sample.expiredFiles) {
        const qsizetype at = doc.text.indexOf(line);
        ASSERT_GT(at, previous) << line.toStdString();
        previous = at;
    }
    EXPECT_EQ(occurrences(doc.rtf, "\\bullet"), 3);
}
