// The carried templates have the layout the substitution engine and the
// document builders work on, and the marker table says what each one holds.
#include "templatefiles.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QSet>

namespace {

// Every template the program carries: the files it extracts into the data
// folder, in their order, then the ones it uses itself.
const QList<QPair<QString, QString>> kCarried = {
    {"Anexa1", "Anexa_1.rtf"}, {"Anexa1PJ", "Anexa_1PJ.rtf"}, {"Anexa2", "Anexa_2.rtf"},
    {"Anexa2PJ", "Anexa_2PJ.rtf"}, {"Anexa_9", "Anexa_9.rtf"}, {"AdresaDAJ", "AdresaDAJ.rtf"},
    {"AdresaADS", "AdresaADS.rtf"}, {"Anexa4", "Anexa_4.rtf"}, {"Anexa5PFM", "Anexa_5PF.rtf"},
    {"Anexa5PJM", "Anexa_5PJ.rtf"}, {"Anexa5PF", "Anexa_5PFModel.rtf"},
    {"Anexa5PJ", "Anexa_5PJModel.rtf"}, {"Anexa6PF", "Anexa_6PF.rtf"}, {"Anexa6PJ", "Anexa_6PJ.rtf"},
    {"Anexa6PFM", "Anexa_6PFModel.rtf"}, {"Anexa6PJM", "Anexa_6PJModel.rtf"},
    {"Anexa7PF", "Anexa_7PF.rtf"}, {"Anexa7PFM", "Anexa_7PFModel.rtf"}, {"Anexa7PJ", "Anexa_7PJ.rtf"},
    {"Anexa7PJM", "Anexa_7PJModel.rtf"}, {"Anexa2C", "ANEXA_2CPF.rtf"}, {"Anexa2D", "ANEXA_2DPJ.rtf"},
    {"Anexa3", "Anexa_3.rtf"}, {"PVComun", "PVComun.rtf"}, {"AdresaCom", "AdresaCom.rtf"},
    {"A3A_AdrSit", "A3A_AdrSit.rtf"}, {"A3A_AdrSitM", "A3A_AdrSitM.rtf"},
    {"A3A_AdrSitJ", "A3A_AdrSitJ.rtf"}, {"COFPF", "CeresiOfertaPF3.rtf"},
    {"CeresiOfertaPJ", "CeresiOfertaPJ3.rtf"}, {"Anexa12", "Anexa_12.rtf"},
    {"AdresaAnulare", "AdresaAnulare.rtf"}, {"Anexa11", "Anexa_11.rtf"},
    {"PVFinalCom", "PVFinalCom.rtf"}, {"AdresaFinalCom", "AdresaFinalCom.rtf"},
    {"Anexa13", "Anexa_13.rtf"}, {"AdresaFinalFaraCom", "AdresaFinalFaraCom.rtf"},
    {"PVOfertant", "PVOfertant.rtf"}, {"AdresaOfertant", "AdresaOfertant.rtf"},
    {"PVFinalOf", "PVFinalOf.rtf"}, {"AdresaFinalOf", "AdresaFinalOf.rtf"},
    {"CerereAnulOfModel", "CerereAnulOfModel.rtf"}, {"CerereAnulOf", "CerereAnulOf.rtf"},
    {"Anexa_1M", "-"}, {"Anexa_1M1", "-"}, {"Anexa_1M2", "-"}, {"Anexa_2M", "-"},
    {"Anexa_2M1", "-"}, {"Anexa_2M2", "-"}, {"Anexa2CM", "-"}, {"Anexa2CM1", "-"},
    {"Anexa2CM2", "-"}, {"RapExpirate", "-"}, {"COPFM1", "-"},
};

// Markers the engine repeats line by line; each must stand alone on its line.
const QStringList kRepeated = {"[Dosar]", "[1]", "[2]"};

QStringList wholeTemplates()
{
    QStringList names;
    for (const TemplateRow &row : templateTable())
        if (row.role != "fragment")
            names.append(row.resource);
    return names;
}

} // namespace

TEST(TemplateTable, ListsEveryCarriedTemplateOnceWithItsFile)
{
    const QList<TemplateRow> rows = templateTable();
    ASSERT_EQ(rows.size(), kCarried.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].resource, kCarried[i].first);
        EXPECT_EQ(rows[i].file, kCarried[i].second) << rows[i].resource.toStdString();
    }
    QStringList onDisk = QDir(templatesFolder()).entryList({"*.rtf"}, QDir::Files);
    QStringList listed;
    for (const auto &entry : kCarried)
        listed.append(entry.first + ".rtf");
    onDisk.sort();
    listed.sort();
    EXPECT_EQ(onDisk, listed);
}

TEST(TemplateTable, MarkersMatchWhatEachTemplateHolds)
{
    for (const TemplateRow &row : templateTable()) {
        const QByteArray rtf = templateBytes(row.resource);
        ASSERT_FALSE(rtf.isEmpty()) << row.resource.toStdString();
        EXPECT_EQ(markersIn(rtf), row.markers) << row.resource.toStdString();
        // Blank forms are filled by hand; only the places for more applicants are markers.
        if (row.role == "formular") {
            for (const QString &m : row.markers)
                EXPECT_TRUE(m == "[1]" || m == "[2]") << row.resource.toStdString() << " " << m.toStdString();
        }
    }
}

TEST(TemplateLayout, HeaderBodyAndClosingAsTheEngineReadsThem)
{
    for (const QString &name : wholeTemplates()) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray rtf = templateBytes(name);
        const QList<QByteArray> lines = templateLines(rtf);
        ASSERT_GT(lines.size(), 3);
        EXPECT_TRUE(lines.first().startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0"));
        EXPECT_TRUE(rtf.contains("\\fcharset238"));
        EXPECT_TRUE(rtf.contains("\\paperw11906\\paperh16838"));
        EXPECT_EQ(lines.last(), "}");

        qsizetype body = 0;
        while (body < lines.size() && !lines[body].contains("\\pard"))
            ++body;
        ASSERT_LT(body, lines.size()) << "no line with \\pard";
        // The header ends right before the body: nothing of the "\pard" line is lost.
        EXPECT_TRUE(lines[body].startsWith("\\pard"));

        // From the "\pard" line on, the outer group closes only on the last line.
        int depth = 1;
        for (qsizetype i = body; i < lines.size(); ++i) {
            depth += braceBalance(lines[i]);
            if (i + 1 < lines.size()) {
                ASSERT_GT(depth, 0) << "document closed early at line " << i + 1;
            }
        }
        EXPECT_EQ(depth, 0);
        int total = 0;
        for (const QByteArray &line : lines)
            total += braceBalance(line);
        EXPECT_EQ(total, 0);
    }
}

TEST(TemplateLayout, TextIsAsciiWithLettersAsCodePageEscapes)
{
    for (const TemplateRow &row : templateTable()) {
        const QByteArray rtf = templateBytes(row.resource);
        for (char c : rtf)
            ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << row.resource.toStdString();
    }
    // The Romanian letters are there, as Windows-1250 escapes.
    const QByteArray notification = templateBytes("Anexa4");
    for (const char *letter : {"\\'e3", "\\'e2", "\\'ee", "\\'ba", "\\'fe", "\\'de", "\\'c2"})
        EXPECT_TRUE(notification.contains(letter)) << letter;
}

TEST(TemplateLayout, EveryMarkerStandsWholeOnOneLine)
{
    static const QRegularExpression openAtEnd(QStringLiteral("\\[[A-Za-z0-9]*$"));
    static const QRegularExpression closeAtStart(QStringLiteral("^[A-Za-z0-9]*\\]"));
    for (const TemplateRow &row : templateTable()) {
        for (const QByteArray &line : templateLines(templateBytes(row.resource))) {
            const QString text = QString::fromLatin1(line);
            EXPECT_FALSE(openAtEnd.match(text).hasMatch()) << row.resource.toStdString() << ": " << line.toStdString();
            EXPECT_FALSE(closeAtStart.match(text).hasMatch()) << row.resource.toStdString() << ": " << line.toStdString();
        }
    }
}

TEST(TemplateLayout, RepeatedMarkersHaveTheirLineToThemselves)
{
    for (const TemplateRow &row : templateTable()) {
        for (const QByteArray &line : templateLines(templateBytes(row.resource))) {
            const QStringList inLine = markersIn(line);
            for (const QString &repeated : kRepeated) {
                if (inLine.contains(repeated)) {
                    EXPECT_EQ(inLine, QStringList{repeated}) << row.resource.toStdString();
                }
            }
        }
    }
    // Each form for several applicants holds both places exactly once.
    for (const QString &name : QStringList{"Anexa_1M", "Anexa_2M", "Anexa2CM"}) {
        const QByteArray rtf = templateBytes(name);
        EXPECT_EQ(rtf.count("\n[1]\n"), 1) << name.toStdString();
        EXPECT_EQ(rtf.count("\n[2]\n"), 1) << name.toStdString();
    }
}

TEST(TemplateLayout, FragmentsAreOneBalancedLine)
{
    for (const TemplateRow &row : templateTable()) {
        if (row.role != "fragment" || row.resource == "COPFM1")
            continue;
        const QList<QByteArray> lines = templateLines(templateBytes(row.resource));
        ASSERT_EQ(lines.size(), 1) << row.resource.toStdString();
        EXPECT_EQ(braceBalance(lines.first()), 0);
        EXPECT_TRUE(lines.first().startsWith("\\pard"));
        EXPECT_TRUE(markersIn(lines.first()).isEmpty());
    }
}

TEST(ListOfHolders, EachRankCutIsExactlyOneTableRow)
{
    const QByteArray rtf = templateBytes("Anexa3");
    qsizetype previousEnd = 0;
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        qsizetype start = -1;
        const QByteArray row = rankRow(rtf, n, &start);
        ASSERT_FALSE(row.isEmpty());
        EXPECT_GE(start, previousEnd) << "rows overlap";
        previousEnd = start + row.size();
        EXPECT_TRUE(row.startsWith("\\qc \\intbl")) << "a copy must open its own table cell";
        EXPECT_TRUE(row.endsWith("\\ltrrow}\\pard \n")) << "the cut must end at the line break";
        EXPECT_EQ(row.count("\\row"), 1);
        EXPECT_EQ(row.count("\\cell") - row.count("\\cellx"), 3);
        EXPECT_EQ(braceBalance(row), 0);
        EXPECT_TRUE(row.contains(" 1.\\cell"));
        const QStringList markers = markersIn(row);
        EXPECT_EQ(markers, (QStringList{QString("[Pree%1]").arg(n), QString("[Adresa%1]").arg(n)}));
        EXPECT_EQ(row.count("\\qc "), 1);
        // The rank is ticked on its own row, outside the cut.
        EXPECT_TRUE(rtf.contains(QString("[p%1]").arg(n).toLatin1()));
        EXPECT_FALSE(row.contains(QString("[p%1]").arg(n).toLatin1()));
    }
}

TEST(RequestForm, ExtraSellerBlockTurnsIntoSellerN)
{
    const QByteArray block = templateBytes("COPFM1");
    const QStringList markers = markersIn(block);
    ASSERT_FALSE(markers.isEmpty());
    // The register renumbers the block by turning every "1]" into "<n>]".
    EXPECT_EQ(block.count("1]"), block.count("["));
    for (const QString &m : markers)
        EXPECT_TRUE(m.endsWith("1]")) << m.toStdString();
    EXPECT_TRUE(block.endsWith("\n"));
    // Balanced line by line: the engine finds the end of the body by counting braces.
    for (const QByteArray &line : templateLines(block))
        EXPECT_EQ(braceBalance(line), 0);
    // It opens with "si" as a paragraph of its own.
    EXPECT_TRUE(templateLines(block).first().endsWith(" \\'bai\\par"));
    for (const QString &form : QStringList{"COFPF", "CeresiOfertaPJ"}) {
        // The block goes one character after the marker: on the next line.
        EXPECT_EQ(templateBytes(form).count("[ALTVANZATOR]\n"), 1) << form.toStdString();
        EXPECT_TRUE(markersIn(templateBytes(form)).contains("[VANZATOR1]"));
    }
}
