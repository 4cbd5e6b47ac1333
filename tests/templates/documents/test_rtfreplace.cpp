// The substitution engine: markers replaced line by line, repeated markers,
// records on pages, and templates a word processor has damaged.
#include "templates/rtfreplace.h"

#include "documentsupport.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

using documents::documentLines;
using documents::writeTemplate;

namespace {

struct Field {
    QString marker;
    QString value;
    bool raw = false;
};

struct SubstitutionCase {
    const char *name;
    QList<QByteArray> body;
    QList<Field> fields;
    // Body lines of the document between the "\pard" line and the closing "}".
    QList<QByteArray> expected;
};

// Fills a one-record document from `body` and returns what came out between
// the "\pard" line and the document's closing "}".
QList<QByteArray> fillBody(const QList<QByteArray> &body, const QList<Field> &fields)
{
    testsupport::TempFolder folder;
    writeTemplate(folder.file("t.rtf"), body);
    TRTFReplace rtf;
    rtf.RTFSursa = folder.file("t.rtf");
    rtf.RTFDest = folder.file("d.rtf");
    EXPECT_TRUE(rtf.BeginDocument());
    for (const Field &f : fields) {
        if (f.raw)
            rtf.AddRawField(f.marker, f.value.toLatin1());
        else
            rtf.AddField(f.marker, f.value);
    }
    rtf.WriteBody(1);
    rtf.EndDocument();
    QList<QByteArray> lines = documentLines(folder.file("d.rtf"));
    const qsizetype pard = lines.indexOf("\\pard");
    EXPECT_GE(pard, 0);
    EXPECT_EQ(lines.last(), "}");
    return lines.mid(pard + 1, lines.size() - pard - 2);
}

class Substitution : public ::testing::TestWithParam<SubstitutionCase> {};

TEST_P(Substitution, ReplacesMarkers)
{
    EXPECT_EQ(fillBody(GetParam().body, GetParam().fields), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Substitution,
    ::testing::Values(
        SubstitutionCase{"capital_marker_gives_capitals", {"Judetul [JUDET]\\par"}, {{"[JUDET]", "Cluj"}},
                         {"Judetul CLUJ\\par"}},
        SubstitutionCase{"mixed_case_marker_keeps_value", {"Judetul [Judet]\\par"}, {{"[JUDET]", "Cluj"}},
                         {"Judetul Cluj\\par"}},
        SubstitutionCase{"short_capital_marker_keeps_value", {"Nr. [NR]"}, {{"[NR]", "12a"}}, {"Nr. 12a"}},
        SubstitutionCase{"empty_value_prints_points", {"Tel. [Tel]"}, {{"[Tel]", ""}}, {"Tel. .........."}},
        SubstitutionCase{"braces_become_parentheses", {"[Conditii]"}, {{"[Conditii]", "plata {integral}"}},
                         {"plata (integral)"}},
        SubstitutionCase{"every_occurrence_replaced", {"[Nume], [nume]"}, {{"[Nume]", "Ana"}}, {"Ana, Ana"}},
        SubstitutionCase{"marker_not_added_stays", {"[Altul] [Nume]"}, {{"[Nume]", "Ana"}}, {"[Altul] Ana"}},
        SubstitutionCase{"repeated_marker_repeats_line",
                         {"Preemptor: [NUME]\\par"},
                         {{"[NUME]", "A"}, {"[NUME]", "B"}, {"[NUME]", "C"}},
                         {"Preemptor: A\\par", "Preemptor: B\\par", "Preemptor: C\\par"}},
        SubstitutionCase{"repeated_marker_twice_on_a_line",
                         {"[NUME] si [NUME]"},
                         {{"[NUME]", "A"}, {"[NUME]", "B"}, {"[NUME]", "C"}},
                         {"A si B", "C si C"}},
        SubstitutionCase{"single_marker_on_every_copy",
                         {"[Nume] din [Loc]"},
                         {{"[Nume]", "A"}, {"[Nume]", "B"}, {"[Loc]", "Dej"}},
                         {"A din Dej", "B din Dej"}},
        SubstitutionCase{"marker_split_over_two_lines_stays", {"Nume: [NU", "ME] gata"}, {{"[NUME]", "Ana"}},
                         {"Nume: [NU", "ME] gata"}},
        SubstitutionCase{"marker_cut_by_formatting_stays", {"[NU{\\b ME}]"}, {{"[NUME]", "Ana"}},
                         {"[NU{\\b ME}]"}},
        SubstitutionCase{"romanian_letters_in_capitals", {"[JUDET]"}, {{"[JUDET]", u"Bistriţa-Năsăud"_qs}},
                         {"BISTRI\\'deA-N\\'c3S\\'c3UD"}},
        SubstitutionCase{"comma_below_letters", {"[Loc]"}, {{"[Loc]", u"Șușțiu"_qs}},
                         {"\\'aau\\'ba\\'feiu"}},
        SubstitutionCase{"raw_value_inserted_as_it_is", {"[1]"}, {{"[1]", "{\\b x}", true}}, {"{\\b x}"}},
        // A clerk may type the marker into the value itself.
        SubstitutionCase{"value_holding_its_marker", {"[CONDITII] [Conditii]"},
                         {{"[Conditii]", "vezi [conditii]"}},
                         {"VEZI [CONDITII] vezi [conditii]"}},
        // Signature markers carry RTF: only the text goes to capitals.
        SubstitutionCase{"capitals_spare_control_words", {"[S10]"},
                         {{"[S10]", "Ion Pop\\line    (numele si prenumele in clar)\\par \\par    Semnatura"}},
                         {"ION POP\\line    (NUMELE SI PRENUMELE IN CLAR)\\par \\par    SEMNATURA"}},
        // Two repeated markers on one line used to hand the turn to each
        // other for ever; the line is written at most once per field.
        SubstitutionCase{"two_repeated_markers_on_one_line",
                         {"[1] [2]"},
                         {{"[1]", "a", true}, {"[1]", "a", true}, {"[2]", "b", true}, {"[2]", "b", true}},
                         {"a b", "a b", "a b", "a b"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Documents, TwoRecordsGiveTwoBodiesOnTwoPages)
{
    testsupport::TempFolder folder;
    writeTemplate(folder.file("t.rtf"), {"Catre [Nume]\\par"});
    TRTFReplace rtf;
    rtf.RTFSursa = folder.file("t.rtf");
    rtf.RTFDest = folder.file("d.rtf");
    ASSERT_TRUE(rtf.BeginDocument());
    rtf.AddField("[Nume]", "Ana");
    rtf.WriteBody(1);
    rtf.NewPage();
    rtf.AddField("[Nume]", "Ion");
    rtf.WriteBody(1);
    rtf.EndDocument();

    QList<QByteArray> expected = documents::testHeader().split('\n');
    expected.removeLast();
    for (QByteArray &line : expected)
        line.chop(1);
    expected += {"\\pard", "Catre Ana\\par", " \\par \\page ", "\\pard", "Catre Ion\\par", "}"};
    EXPECT_EQ(documentLines(folder.file("d.rtf")), expected);
}

// Writes `text` as the template, fills "[Nume]" with "Ana" in `copies`
// bodies, and returns the document's lines.
QList<QByteArray> fillNameInCopies(const QByteArray &text, int copies)
{
    testsupport::TempFolder folder;
    documents::writeFile(folder.file("t.rtf"), text);
    TRTFReplace rtf;
    rtf.RTFSursa = folder.file("t.rtf");
    rtf.RTFDest = folder.file("d.rtf");
    EXPECT_TRUE(rtf.BeginDocument());
    rtf.AddField("[Nume]", "Ana");
    rtf.WriteBody(copies);
    rtf.EndDocument();
    return documentLines(folder.file("d.rtf"));
}

TEST(Documents, CopiesAreSeparatedByPageAndMarkersOfTheHeaderStay)
{
    const QList<QByteArray> expected = {"{\\rtf1\\ansi\\ansicpg1250 {\\info{\\title [Nume]}}", "{\\b Titlu}",
                                        "\\pard Ana\\par", "\\page", "\\pard Ana\\par", "}"};
    EXPECT_EQ(fillNameInCopies("{\\rtf1\\ansi\\ansicpg1250 {\\info{\\title [Nume]}}\n{\\b Titlu} \\pard [Nume]\\par\n}", 2),
              expected);
}

TEST(Documents, BodyWithoutClosingBraceRunsToTheEnd)
{
    const QList<QByteArray> expected = {"{\\rtf1\\ansi", "\\pard Ana\\par", "rest Ana\\par", "ulti", "}"};
    EXPECT_EQ(fillNameInCopies("{\\rtf1\\ansi\n\\pard [Nume]\\par\nrest [Nume]\\par\nultim", 1), expected);
}

TEST(Documents, WholeTemplateOnOneLine)
{
    const QList<QByteArray> expected = {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}", "\\pard Ana\\par", "}"};
    EXPECT_EQ(fillNameInCopies("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard [Nume]\\par}", 1), expected);
}

struct DamagedCase {
    const char *name;
    QByteArray content;
    bool missing;
};

class DamagedTemplate : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedTemplate, ProducesNoDocument)
{
    testsupport::TempFolder folder;
    if (!GetParam().missing)
        documents::writeFile(folder.file("t.rtf"), GetParam().content);
    TRTFReplace rtf;
    rtf.RTFSursa = folder.file("t.rtf");
    rtf.RTFDest = folder.file("d.rtf");
    EXPECT_FALSE(rtf.BeginDocument());
    EXPECT_FALSE(QFileInfo::exists(folder.file("d.rtf")));
    // The later calls of a caller that does not look at the answer do no harm.
    rtf.AddField("[Nume]", "Ana");
    rtf.WriteBody(1);
    rtf.NewPage();
    rtf.EndDocument();
    EXPECT_FALSE(QFileInfo::exists(folder.file("d.rtf")));
}

TEST(Documents, TemplateIsNeverItsOwnDocument)
{
    testsupport::TempFolder folder;
    writeTemplate(folder.file("t.rtf"), {"[Nume]"});
    const QByteArray before = documents::readFile(folder.file("t.rtf"));
    TRTFReplace rtf;
    // Named in another case, as a template copied from Windows may be.
    rtf.RTFSursa = folder.file("T.RTF");
    rtf.RTFDest = folder.file("t.rtf");
    EXPECT_FALSE(rtf.BeginDocument());
    EXPECT_EQ(documents::readFile(folder.file("t.rtf")), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedTemplate,
    ::testing::Values(DamagedCase{"missing", {}, true}, DamagedCase{"empty", {}, false},
                      DamagedCase{"without_pard_line", "{\\rtf1\\ansi\n\\plain [Nume]\\par\n}\n", false},
                      DamagedCase{"only_header", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\n", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DamagedTemplates, UnbalancedBracesNeverLoop)
{
    // A word processor may leave a body whose braces never close, or close
    // too early; the engine writes what is there and stops.
    const QList<QList<QByteArray>> bodies = {
        {"{{{ [Nume] {", "{ [Nume]", "[Nume] {{"},
        {"}}} [Nume]", "text [Nume] }"},
        {"\\trowd\\cellx100 [Nume]\\cell", "[Nume]\\cell\\row", "\\pard\\intbl [Nume]"},
    };
    for (const QList<QByteArray> &body : bodies) {
        const QList<QByteArray> out =
            fillBody(body, {{"[Nume]", "A"}, {"[Nume]", "B"}, {"[Nume]", "C"}, {"[Nume]", "D"}});
        EXPECT_LE(out.size(), 4 * body.size());
        for (const QByteArray &line : out)
            EXPECT_FALSE(line.contains("[Nume]")) << line.constData();
    }
}

TEST(ChooseDest, TakesTheFirstFreeOrDeletableNumber)
{
    testsupport::TempFolder folder;
    const QString base = folder.file("Anexa_1MF");
    documents::writeFile(base + "0.rtf", "old");
    documents::writeFile(base + "1.rtf", "held");
    documents::writeFile(folder.file(".~lock.Anexa_1MF1.rtf#"), "someone,host");

    TRTFReplace rtf;
    ASSERT_TRUE(rtf.ChooseDest(base));
    EXPECT_EQ(rtf.RTFDest, base + "0.rtf");
    EXPECT_FALSE(QFileInfo::exists(base + "0.rtf"));

    documents::writeFile(folder.file(".~lock.Anexa_1MF0.rtf#"), "someone,host");
    documents::writeFile(base + "0.rtf", "held too");
    ASSERT_TRUE(rtf.ChooseDest(base));
    EXPECT_EQ(rtf.RTFDest, base + "2.rtf");
    EXPECT_EQ(documents::readFile(base + "1.rtf"), "held");
}

TEST(ChooseDest, FailsWhenAllHundredAreHeld)
{
    testsupport::TempFolder folder;
    for (int n = 0; n <= 99; ++n) {
        documents::writeFile(folder.file(QString("F%1.rtf").arg(n)), "x");
        documents::writeFile(folder.file(QString(".~lock.F%1.rtf#").arg(n)), "x");
    }
    TRTFReplace rtf;
    rtf.RTFDest = "unchanged";
    EXPECT_FALSE(rtf.ChooseDest(folder.file("F")));
    EXPECT_EQ(rtf.RTFDest, "unchanged");
}

TEST(OpenDocument, OpensAnExistingDocumentOnly)
{
    testsupport::TempFolder folder;
    documents::OpenRecorder recorder(folder.path());
    TRTFReplace rtf;
    rtf.OpenDocument();
    rtf.RTFDest = folder.file("absent.rtf");
    rtf.OpenDocument();
    rtf.RTFDest = folder.path();
    rtf.OpenDocument();
    documents::writeFile(folder.file("d.rtf"), "{\\rtf1 x}");
    rtf.RTFDest = folder.file("d.rtf");
    rtf.OpenDocument();
    EXPECT_EQ(recorder.opened(), QStringList{folder.file("d.rtf")});
}

TEST(Documents, TheTemplateIsReadOncePerDocument)
{
    testsupport::TempFolder folder;
    writeTemplate(folder.file("t.rtf"), {"Catre [Nume]\\par"});
    TRTFReplace rtf;
    rtf.RTFSursa = folder.file("t.rtf");
    rtf.RTFDest = folder.file("d.rtf");
    ASSERT_TRUE(rtf.BeginDocument());
    // A clerk saving the template while a long document is written changes
    // the next document, not the rest of this one.
    writeTemplate(folder.file("t.rtf"), {"Altul [Nume]\\par"});
    rtf.AddField("[Nume]", "Ana");
    EXPECT_TRUE(rtf.WriteBody(1));
    QFile::remove(folder.file("t.rtf"));
    EXPECT_TRUE(rtf.NewPage());
    rtf.AddField("[Nume]", "Ion");
    EXPECT_TRUE(rtf.WriteBody(1));
    EXPECT_TRUE(rtf.EndDocument());
    EXPECT_EQ(rtf.errorString(), QString());
    const QList<QByteArray> lines = documentLines(folder.file("d.rtf"));
    EXPECT_EQ(lines.count("Catre Ana\\par"), 1);
    EXPECT_EQ(lines.count("Catre Ion\\par"), 1);
    EXPECT_EQ(lines.last(), "}");
}

enum class Step { WriteBody, NewPage, EndDocument };

struct FailedWriteCase {
    const char *name;
    // The step that finds the disk full.
    Step failing;
};

class FailedWrite : public ::testing::TestWithParam<FailedWriteCase> {};

TEST_P(FailedWrite, FailsTheDocumentWhichIsNeverOpened)
{
    testsupport::TempFolder folder;
    documents::OpenRecorder recorder(folder.path());
    writeTemplate(folder.file("t.rtf"), {"Catre [Nume]\\par"});
    TRTFReplace rtf;
    rtf.RTFSursa = folder.file("t.rtf");
    rtf.RTFDest = folder.file("d.rtf");
    ASSERT_TRUE(rtf.BeginDocument());
    // Two records, then the end; the disk fills just before the failing step
    // and every step after it fails too.
    const QList<Step> steps = {Step::WriteBody, Step::NewPage, Step::WriteBody, Step::EndDocument};
    bool reached = false;
    for (const Step step : steps) {
        const bool failing = !reached && step == GetParam().failing;
        reached = reached || failing;
        std::optional<documents::DiskFullAt> full;
        if (failing)
            full.emplace(QFileInfo(rtf.RTFDest).size());
        rtf.AddField("[Nume]", "Ana");
        const bool written = step == Step::WriteBody ? rtf.WriteBody(1)
                             : step == Step::NewPage ? rtf.NewPage()
                                                     : rtf.EndDocument();
        EXPECT_EQ(written, !reached);
    }
    ASSERT_TRUE(reached);
    EXPECT_TRUE(rtf.errorString().contains(QDir::toNativeSeparators(folder.file("d.rtf")))) << rtf.errorString().toStdString();
    EXPECT_TRUE(rtf.errorString().startsWith("Documentul ")) << rtf.errorString().toStdString();
    // No half document is left behind to be taken for the whole one.
    EXPECT_FALSE(QFileInfo::exists(folder.file("d.rtf")));
    rtf.OpenDocument();
    documents::writeFile(folder.file("d.rtf"), "{\\rtf1 x}");
    rtf.OpenDocument();
    EXPECT_EQ(recorder.opened(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedWrite,
                         ::testing::Values(FailedWriteCase{"WriteBody", Step::WriteBody},
                                           FailedWriteCase{"NewPage", Step::NewPage},
                                           FailedWriteCase{"EndDocument", Step::EndDocument}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FailedDocuments, ADocumentThatCannotBeStartedSaysWhy)
{
    testsupport::TempFolder folder;
    writeTemplate(folder.file("t.rtf"), {"Catre [Nume]\\par"});
    documents::writeFile(folder.file("file"), "not a folder");
    struct Case {
        const char *name;
        QString source;
        QString dest;
        // A piece of errorString().
        QString reason;
    };
    const QList<Case> cases = {
        {"missing_template", folder.file("absent.rtf"), folder.file("d.rtf"), "Nu pot accesa modelul "},
        // Tests run as root: a path under a file is a folder nobody can write.
        {"folder_that_cannot_be_written", folder.file("t.rtf"), folder.file("file/d.rtf"),
         "Documentul " + QDir::toNativeSeparators(folder.file("file/d.rtf")) + " nu poate fi creat"},
        {"disk_full", folder.file("t.rtf"), "/dev/full", "Documentul /dev/full nu poate fi scris"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TRTFReplace rtf;
        rtf.RTFSursa = c.source;
        rtf.RTFDest = c.dest;
        EXPECT_FALSE(rtf.BeginDocument());
        EXPECT_TRUE(rtf.errorString().contains(c.reason)) << rtf.errorString().toStdString();
        rtf.AddField("[Nume]", "Ana");
        EXPECT_FALSE(rtf.WriteBody(1));
        EXPECT_FALSE(rtf.EndDocument());
    }
    // The device stays what it was.
    EXPECT_TRUE(QFileInfo("/dev/full").exists());
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());
}

TEST(Unrtf, ReadsValuesAndRomanianLetters)
{
    testsupport::TempFolder folder;
    writeTemplate(folder.file("t.rtf"), {"\\f0 Judetul [JUDET], localitatea [Localit]\\par", "[S10]\\par"});
    TRTFReplace rtf;
    rtf.RTFSursa = folder.file("t.rtf");
    rtf.RTFDest = folder.file("d.rtf");
    ASSERT_TRUE(rtf.BeginDocument());
    rtf.AddField("[JUDET]", u"Bistrița-Năsăud"_qs);
    rtf.AddField("[Localit]", u"Şieu-Odorhei {sat Şirioara}"_qs);
    rtf.AddField("[S10]", u"Ţâmpănaru Îon\\line    (numele)"_qs);
    rtf.WriteBody(1);
    rtf.EndDocument();
    const QString text = documents::unrtfText(folder.file("d.rtf"));
    if (text.isNull())
        GTEST_SKIP() << "unrtf is not installed";
    EXPECT_TRUE(text.contains(u"Judetul BISTRIŢA-NĂSĂUD, localitatea Şieu-Odorhei (sat Şirioara)"_qs))
        << text.toStdString();
    // The signature's "\\line" stays a line break, spelled as RTF wants it.
    EXPECT_TRUE(text.contains(u"ŢÂMPĂNARU ÎON\n"_qs)) << text.toStdString();
    EXPECT_TRUE(text.simplified().contains(u"ŢÂMPĂNARU ÎON (NUMELE)"_qs)) << text.toStdString();
}

} // namespace
