// The catalogue of templates, the files the program carries, and writing the
// missing templates into a data folder.
#include "templates/catalogue.h"
#include "templates/resources.h"
#include "templates/templatelayout.h"

#include "documentsupport.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

using documents::readFile;
using documents::writeFile;

namespace {

bool everyTemplateCarried()
{
    for (const QString &name : AllTemplateResources()) {
        if (!HasResource(name, kResourceTemplate))
            return false;
    }
    return true;
}

#define REQUIRE_TEMPLATES()                                                                                       \
    if (!everyTemplateCarried())                                                                                   \
    GTEST_SKIP() << "the template files are not in resources/templates yet"

TEST(Catalogue, FortyThreeRowsInOrderWithDistinctFilesAndResources)
{
    const QList<CatalogueEntry> &rows = TemplateCatalogue();
    ASSERT_EQ(rows.size(), 43);
    QSet<QString> files, resources;
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows.at(i).row, i + 1);
        EXPECT_TRUE(rows.at(i).file.endsWith(".rtf"));
        files.insert(rows.at(i).file.toLower());
        resources.insert(rows.at(i).resource.toLower());
    }
    EXPECT_EQ(files.size(), 43);
    EXPECT_EQ(resources.size(), 43);
    EXPECT_EQ(CatalogueRow(9)->file, "Anexa_5PF.rtf");
    EXPECT_EQ(CatalogueRow(9)->resource, "Anexa5PFM");
    EXPECT_EQ(CatalogueRow(29)->resource, "COFPF");
    EXPECT_EQ(CatalogueRow(0), nullptr);
    EXPECT_EQ(CatalogueRow(44), nullptr);

    const QSet<int> blankForms = {1, 2, 3, 4, 11, 12, 15, 16, 18, 20, 21, 22, 42};
    for (const CatalogueEntry &entry : rows)
        EXPECT_EQ(entry.role == TemplateRole::BlankForm, blankForms.contains(entry.row)) << entry.row;
    EXPECT_EQ(AllTemplateResources().size(), 54);
}

TEST(Resources, LawTextsAndIconAreCarried)
{
    for (const QString law : {"P1", "P2", "P3", "P4", "P5"}) {
        const QByteArray pdf = ResourceData(law, kResourceLawText);
        EXPECT_TRUE(pdf.startsWith("%PDF-")) << law.toStdString();
        EXPECT_TRUE(pdf.contains("/Type /Page") || pdf.contains("/Type/Page")) << law.toStdString();
        EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF")) << law.toStdString();
    }
    const QByteArray icon = ResourceData("ICO", kResourcePicture);
    ASSERT_GE(icon.size(), 6 + 16);
    EXPECT_EQ(icon.left(4), QByteArray("\0\0\1\0", 4));
    // Names and types are matched without regard to case.
    EXPECT_EQ(ResourceData("p3", "LEGE"), ResourceData("P3", "Lege"));
    EXPECT_FALSE(HasResource("P6", kResourceLawText));
    EXPECT_FALSE(HasResource("", kResourceLawText));
}

TEST(Resources, LawTextsReadAsText)
{
    if (!testsupport::haveTool("pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed";
    testsupport::TempFolder folder;
    ASSERT_TRUE(ExtractResource("P1", kResourceLawText, folder.file("p1.pdf")));
    QByteArray text;
    ASSERT_EQ(testsupport::runProgram("pdftotext", {folder.file("p1.pdf"), "-"}, &text), 0);
    EXPECT_TRUE(QString::fromUtf8(text).contains(u"Legea nr. 17/2014"_qs));
    EXPECT_TRUE(QString::fromUtf8(text).contains(u"preempțiune"_qs));
}

TEST(Resources, EveryCarriedTemplateHasTheEnginesLayout)
{
    REQUIRE_TEMPLATES();
    const QStringList fragments = {"Anexa_1M1", "Anexa_1M2", "Anexa_2M1", "Anexa_2M2",
                                   "Anexa2CM1", "Anexa2CM2", "COPFM1"};
    for (const QString &name : AllTemplateResources()) {
        if (!fragments.contains(name)) {
            EXPECT_EQ(TemplateLayoutProblem(ResourceData(name, kResourceTemplate)), QString()) << name.toStdString();
        }
    }
}

TEST(ExtractResource, WritesReplacesAndRefusesAHeldFile)
{
    testsupport::TempFolder folder;
    const QString path = folder.file("Lege0.pdf");
    ASSERT_TRUE(ExtractResource("P2", kResourceLawText, path));
    EXPECT_EQ(readFile(path), ResourceData("P2", kResourceLawText));

    writeFile(path, "older");
    ASSERT_TRUE(ExtractResource("P2", kResourceLawText, path));
    EXPECT_EQ(readFile(path), ResourceData("P2", kResourceLawText));

    writeFile(path, "being read");
    writeFile(folder.file(".~lock.Lege0.pdf#"), "clerk,desk");
    QString error;
    EXPECT_FALSE(ExtractResource("P2", kResourceLawText, path, &error));
    EXPECT_EQ(readFile(path), "being read");
    EXPECT_EQ(error, "Fisierul " + path + " este deschis!");
}

TEST(ExtractResource, MissingResourceIsAnError)
{
    testsupport::TempFolder folder;
    QString error;
    EXPECT_FALSE(ExtractResource("Nimic", kResourceTemplate, folder.file("x.rtf"), &error));
    EXPECT_EQ(error, "Programul nu contine resursa Nimic (MODEL)!");
    EXPECT_FALSE(QFileInfo::exists(folder.file("x.rtf")));
}

TEST(ExtractTemplates, FillsAnEmptyDataFolder)
{
    REQUIRE_TEMPLATES();
    testsupport::TempFolder program;
    const QString data = program.file("Data");
    QDir().mkpath(data);
    QString error;
    ASSERT_TRUE(ExtractTemplates(data, program.path(), &error)) << error.toStdString();
    EXPECT_EQ(readFile(program.file(kBackupIconFile)), ResourceData("ICO", kResourcePicture));
    for (const CatalogueEntry &entry : TemplateCatalogue())
        EXPECT_EQ(readFile(data + "/" + entry.file), ResourceData(entry.resource, kResourceTemplate)) << entry.row;
    EXPECT_EQ(QDir(data).entryList(QDir::Files).size(), 43);
}

TEST(ExtractTemplates, LeavesExistingFilesAndRemovesTheObsoleteForm)
{
    REQUIRE_TEMPLATES();
    testsupport::TempFolder program;
    const QString data = program.path();
    writeFile(program.file("ANEXA_4.RTF"), "edited by the clerk");
    writeFile(program.file(kBackupIconFile), "own icon");
    writeFile(program.file("anexa2d.rtf"), "obsolete");
    ASSERT_TRUE(ExtractTemplates(data, program.path()));
    EXPECT_EQ(readFile(program.file("ANEXA_4.RTF")), "edited by the clerk");
    EXPECT_EQ(QDir(data).entryList({"anexa_4.rtf"}, QDir::Files).size(), 1);
    EXPECT_EQ(readFile(program.file(kBackupIconFile)), "own icon");
    EXPECT_FALSE(QFileInfo::exists(program.file("anexa2d.rtf")));
    EXPECT_TRUE(QFileInfo::exists(program.file("ANEXA_2DPJ.rtf")));
}

TEST(ExtractTemplates, RewritesWhatTheUpgradeDeleted)
{
    REQUIRE_TEMPLATES();
    testsupport::TempFolder program;
    ASSERT_TRUE(ExtractTemplates(program.path(), program.path()));
    writeFile(program.file("Anexa_7PJ.rtf"), "edited");
    QFile::remove(program.file("Anexa_7PF.rtf"));
    ASSERT_TRUE(ExtractTemplates(program.path(), program.path()));
    EXPECT_EQ(readFile(program.file("Anexa_7PF.rtf")), ResourceData("Anexa7PF", kResourceTemplate));
    EXPECT_EQ(readFile(program.file("Anexa_7PJ.rtf")), "edited");
}

TEST(ExtractTemplates, ReportsWhatCouldNotBeWritten)
{
    testsupport::TempFolder program;
    QString error;
    EXPECT_FALSE(ExtractTemplates(program.file("no such folder"), program.path(), &error));
    EXPECT_TRUE(error.contains("Anexa_1.rtf") || error.contains("Anexa1")) << error.toStdString();
}

} // namespace
