// The clerk's template work from the main window: blank forms, forms for
// several applicants, editing and restoring templates, law texts, the
// "Numar solicitanti" dialog and the menus that lead there.
#include "templates/catalogue.h"
#include "templates/documentmenus.h"
#include "templates/resources.h"
#include "templates/tselectnrsol.h"
#include "templates/templateactions.h"
#include "templates/templatelayout.h"

#include "scriptedprompter.h"
#include "platform/session.h"
#include "documentsupport.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using documents::readFile;
using documents::writeFile;

namespace {

// A program folder with its Data folder, made the session's for one test.
class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSession(program.path());
        QDir().mkpath(session().dataFolder);
    }
    void TearDown() override { resetSession(QDir::tempPath()); }

    QString data(const QString &name) const { return session().dataFolder + "/" + name; }

    testsupport::TempFolder program;
    ScriptedPrompter prompter;
    documents::OpenRecorder recorder{program.path()};
};

qsizetype occurrences(const QByteArray &text, const QByteArray &what)
{
    return text.count(what);
}

TEST_F(ActionsTest, FormForTwoApplicantsBlanksTheMarkers)
{
    TemplateActions actions(prompter, [] { return 2; });
    const QString form = actions.BuildApplicantsForm("TestForm", 2);
    ASSERT_EQ(form, program.file("TestFormF0.rtf"));
    const QList<QByteArray> lines = documents::documentLines(form);
    EXPECT_EQ(lines.count(" "), 2);
    const QByteArray text = readFile(form);
    EXPECT_FALSE(text.contains("[1]"));
    EXPECT_FALSE(text.contains("[2]"));
    EXPECT_EQ(occurrences(text, "N. Solicitantul"), 0);
    EXPECT_TRUE(text.endsWith("}\r\n"));
}

TEST_F(ActionsTest, FormForSixApplicantsHoldsTheFragmentsFourTimes)
{
    TemplateActions actions(prompter, [] { return 6; });
    const QString form = actions.BuildApplicantsForm("TestForm", 6);
    ASSERT_FALSE(form.isEmpty());
    const QByteArray text = readFile(form);
    EXPECT_EQ(occurrences(text, "N. Solicitantul ......"), 4);
    EXPECT_EQ(occurrences(text, "           N. ............."), 4);
    EXPECT_FALSE(text.contains("[1]"));
    EXPECT_FALSE(text.contains("[2]"));
    // The fragment's lines arrive joined into the one line of its marker.
    EXPECT_TRUE(text.contains("\\pard\\ql N. Solicitantul ..........................................\\par\r\n"));
    // Nothing of the work is left behind but the form.
    EXPECT_EQ(QDir(program.path()).entryList({"*.rtf", "*.txt"}, QDir::Files), QStringList{"TestFormF0.rtf"});

    const QString plain = documents::unrtfText(form);
    if (!plain.isNull()) {
        EXPECT_EQ(plain.count("N. Solicitantul"), 4) << plain.toStdString();
    }
}

TEST_F(ActionsTest, FormForThreeApplicantsAndAHeldEarlierForm)
{
    TemplateActions actions(prompter, [] { return 3; });
    ASSERT_EQ(actions.BuildApplicantsForm("TestForm", 3), program.file("TestFormF0.rtf"));
    writeFile(program.file(".~lock.TestFormF0.rtf#"), "clerk,desk");
    const QString second = actions.BuildApplicantsForm("TestForm", 3);
    ASSERT_EQ(second, program.file("TestFormF1.rtf"));
    EXPECT_EQ(occurrences(readFile(second), "N. Solicitantul ......"), 1);
}

// The carried forms for several applicants, as the clerk gets them.
TEST_F(ActionsTest, CarriedFormsForTwoAndSixApplicants)
{
    for (const QString base : {"Anexa_1M", "Anexa_2M", "Anexa2CM"}) {
        QByteArray first = ResourceData(base + "1", kResourceTemplate);
        first.replace("\r", "").replace("\n", "");
        ASSERT_FALSE(first.isEmpty()) << base.toStdString();
        for (int applicants : {2, 6}) {
            SCOPED_TRACE(base.toStdString() + " for " + std::to_string(applicants));
            TemplateActions actions(prompter, {});
            const QString form = actions.BuildApplicantsForm(base, applicants);
            ASSERT_FALSE(form.isEmpty());
            const QByteArray text = readFile(form);
            EXPECT_EQ(TemplateLayoutProblem(text), QString());
            EXPECT_FALSE(text.contains("[1]"));
            EXPECT_FALSE(text.contains("[2]"));
            EXPECT_EQ(occurrences(text, first), applicants - 2);
            const QString plain = documents::unrtfText(form);
            if (!plain.isNull()) {
                EXPECT_TRUE(plain.contains(u"ă"_qs) || plain.contains(u"ţ"_qs)) << plain.toStdString();
            }
            QFile::remove(form);
        }
    }
}

TEST_F(ActionsTest, AFormThatCannotBeWrittenWholeIsReportedAndNeverOpened)
{
    TemplateActions actions(prompter, [] { return 6; });
    {
        // The disk fills once the template is out: the form for six, longer
        // than its template, cannot be written whole.
        documents::DiskFullAt full(ResourceData("TestForm", kResourceTemplate).size());
        EXPECT_FALSE(actions.OpenApplicantsForm(1, "TestForm"));
    }
    EXPECT_TRUE(recorder.opened().isEmpty());
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Listare Act");
    EXPECT_TRUE(prompter.questions[0].text.contains("TestFormF0.rtf")) << prompter.questions[0].text.toStdString();
    // Neither half a form nor the work files stay in the program folder.
    EXPECT_EQ(QDir(program.path()).entryList({"*.rtf", "*.txt"}, QDir::Files), QStringList());
}

TEST_F(ActionsTest, OneApplicantOpensTheCatalogueForm)
{
    TemplateActions actions(prompter, [] { return 1; });
    EXPECT_TRUE(actions.OpenApplicantsForm(1, "Anexa_1M"));
    EXPECT_EQ(recorder.opened(), QStringList{data("Anexa_1.rtf")});
    EXPECT_EQ(readFile(data("Anexa_1.rtf")), ResourceData("Anexa1", kResourceTemplate));
}

TEST_F(ActionsTest, ApplicantsAskedFirst)
{
    writeFile(data("Anexa_1.rtf"), "{\\rtf1 form}");
    int answer = 0;
    TemplateActions actions(prompter, [&answer] { return answer; });

    EXPECT_FALSE(actions.OpenApplicantsForm(1, "TestForm"));
    EXPECT_TRUE(recorder.opened().isEmpty());

    answer = 1;
    EXPECT_TRUE(actions.OpenApplicantsForm(1, "TestForm"));
    answer = 6;
    EXPECT_TRUE(actions.OpenApplicantsForm(1, "TestForm"));
    EXPECT_EQ(recorder.opened(), (QStringList{data("Anexa_1.rtf"), program.file("TestFormF0.rtf")}));
}

TEST_F(ActionsTest, BlankFormIsOpenedFromTheDataFolder)
{
    writeFile(data("ANEXA_5PFMODEL.RTF"), "{\\rtf1 form}");
    TemplateActions actions(prompter, {});
    EXPECT_TRUE(actions.OpenBlankForm(11));
    EXPECT_EQ(recorder.opened(), QStringList{data("ANEXA_5PFMODEL.RTF")});
}

TEST_F(ActionsTest, EditOpensTheTemplateOnlyWhenPresent)
{
    TemplateActions actions(prompter, {});
    actions.EditTemplate(8);
    EXPECT_TRUE(recorder.opened().isEmpty());
    writeFile(data("Anexa_4.rtf"), "{\\rtf1 notificare}");
    actions.EditTemplate(8);
    EXPECT_EQ(recorder.opened(), QStringList{data("Anexa_4.rtf")});
    EXPECT_TRUE(prompter.questions.isEmpty());
}

TEST_F(ActionsTest, RestoreAsksFirst)
{
    writeFile(data("Anexa_4.rtf"), "edited");
    prompter.answer(ResultNo);
    TemplateActions actions(prompter, {});
    EXPECT_FALSE(actions.RestoreTemplate(8, "Notificare Preemptor"));
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, "Refacere model");
    EXPECT_EQ(prompter.questions[0].text,
              "Doriti readucerea Notificare Preemptor la forma initiala?\r( Acesta trebuie sa fie inchis! )");
    EXPECT_EQ(prompter.questions[0].buttons, ButtonDa | ButtonNu);
    EXPECT_EQ(prompter.questions[0].kind, KindConfirmation);
    EXPECT_EQ(readFile(data("Anexa_4.rtf")), "edited");
}

TEST_F(ActionsTest, RestoreRefusesATemplateHeldOpen)
{
    writeFile(data("Anexa_4.rtf"), "edited");
    writeFile(data(".~lock.Anexa_4.rtf#"), "clerk,desk");
    prompter.answer(ResultYes);
    TemplateActions actions(prompter, {});
    EXPECT_FALSE(actions.RestoreTemplate(8, "Notificare Preemptor"));
    ASSERT_EQ(prompter.questions.size(), 2);
    EXPECT_EQ(prompter.questions[1].title, "Initializare Anexa4");
    EXPECT_EQ(prompter.questions[1].text,
              "\rFisierul " + data("Anexa_4.rtf") + " este deschis!\rInchideti-l si reincercati!");
    EXPECT_EQ(prompter.questions[1].buttons, ButtonOk);
    EXPECT_EQ(prompter.questions[1].kind, KindError);
    EXPECT_EQ(readFile(data("Anexa_4.rtf")), "edited");
}

TEST_F(ActionsTest, RestoreRewritesTheTemplate)
{
    if (!HasResource("Anexa4", kResourceTemplate))
        GTEST_SKIP() << "the template files are not in resources/templates yet";
    writeFile(data("anexa_4.rtf"), "edited");
    prompter.answer(ResultYes);
    TemplateActions actions(prompter, {});
    EXPECT_TRUE(actions.RestoreTemplate(8, "Notificare Preemptor"));
    EXPECT_EQ(readFile(data("anexa_4.rtf")), ResourceData("Anexa4", kResourceTemplate));
    ASSERT_EQ(prompter.questions.size(), 2);
    EXPECT_EQ(prompter.questions[1].title, "Refacere Model");
    EXPECT_EQ(prompter.questions[1].text, "\rModelul Notificare Preemptor a fost refacut!");
    EXPECT_EQ(prompter.questions[1].kind, KindInformation);
}

TEST_F(ActionsTest, LawTextIsWrittenToAScratchPdfAndOpened)
{
    TemplateActions actions(prompter, {});
    EXPECT_TRUE(actions.OpenLawText("P5"));
    EXPECT_EQ(recorder.opened(), QStringList{program.file("Lege0.pdf")});
    EXPECT_EQ(readFile(program.file("Lege0.pdf")), ResourceData("P5", kResourceLawText));
}

TEST_F(ActionsTest, MenuEntriesRunTheirActions)
{
    writeFile(data("CerereAnulOfModel.rtf"), "{\\rtf1 x}");
    TemplateActions actions(prompter, {});
    QMenu menu;
    for (const DocumentMenuItem &item : BlankFormsMenu())
        AddDocumentMenu(&menu, item, [&actions](const DocumentMenuItem &chosen) { actions.Run(chosen); });
    const QList<QAction *> top = menu.actions();
    ASSERT_EQ(top.size(), 7);
    EXPECT_EQ(top.at(0)->text(), "Anexa 1 - Cerere de afisare");
    ASSERT_NE(top.at(0)->menu(), nullptr);
    EXPECT_EQ(top.at(0)->menu()->actions().at(1)->text(), "Persoana Juridica");
    top.at(6)->trigger();
    EXPECT_EQ(recorder.opened(), QStringList{data("CerereAnulOfModel.rtf")});
}

TEST(Menus, BlankFormsLeadToTheirRows)
{
    const QList<DocumentMenuItem> menu = BlankFormsMenu();
    ASSERT_EQ(menu.size(), 7);
    struct Expected {
        int index;
        DocumentAction fizica;
        int fizicaRow;
        QString base;
        int juridicaRow;
    };
    const QList<Expected> expected = {
        {0, DocumentAction::OpenApplicantsForm, 1, "Anexa_1M", 2},
        {1, DocumentAction::OpenApplicantsForm, 3, "Anexa_2M", 4},
        {2, DocumentAction::OpenBlankForm, 11, {}, 12},
        {3, DocumentAction::OpenBlankForm, 15, {}, 16},
        {4, DocumentAction::OpenBlankForm, 18, {}, 20},
        {5, DocumentAction::OpenApplicantsForm, 21, "Anexa2CM", 22},
    };
    for (const Expected &e : expected) {
        const DocumentMenuItem &item = menu.at(e.index);
        ASSERT_EQ(item.children.size(), 2);
        EXPECT_EQ(item.children[0].caption, "Persoana Fizica");
        EXPECT_EQ(item.children[0].action, e.fizica);
        EXPECT_EQ(item.children[0].row, e.fizicaRow);
        EXPECT_EQ(item.children[0].argument, e.base);
        EXPECT_EQ(item.children[1].caption, "Persoana Juridica");
        EXPECT_EQ(item.children[1].action, DocumentAction::OpenBlankForm);
        EXPECT_EQ(item.children[1].row, e.juridicaRow);
    }
    EXPECT_EQ(menu.at(6).caption, "Cerere de Retragere Oferta de Vanzare");
    EXPECT_EQ(menu.at(6).row, 42);
}

TEST(Menus, LawTextsInMenuOrder)
{
    const DocumentMenuItem menu = LawTextsMenu();
    EXPECT_EQ(menu.caption, "Legislatie");
    QStringList resources;
    for (const DocumentMenuItem &item : menu.children)
        resources << item.argument;
    EXPECT_EQ(resources, (QStringList{"P5", "P1", "P2", "P3", "P4"}));
    EXPECT_EQ(menu.children[1].caption, "Legea 17/2014 - actualizata cu Legea 175/2020");
}

void collectModels(const DocumentMenuItem &item, QMap<int, QStringList> *restoreNames, int *edits)
{
    if (item.action == DocumentAction::RestoreTemplate)
        (*restoreNames)[item.row] << item.argument;
    if (item.action == DocumentAction::EditTemplate)
        ++*edits;
    for (const DocumentMenuItem &child : item.children)
        collectModels(child, restoreNames, edits);
}

TEST(Menus, EveryDocumentTemplateCanBeEditedAndRestored)
{
    const DocumentMenuItem menu = TemplateModelsMenu();
    EXPECT_EQ(menu.caption, "Modele de listare");
    QStringList stages;
    for (const DocumentMenuItem &stage : menu.children)
        stages << stage.caption;
    EXPECT_EQ(stages, (QStringList{"Incepere procedura", "Etapa I - Comunicari de acceptare", "Etapa I - Finalizare",
                                   "Etapa II - Potentiali Cumparatori", "Etapa II - Finalizare",
                                   "Anularea Procedurii", "Adresa Sit arheologic"}));
    QMap<int, QStringList> restoreNames;
    int edits = 0;
    collectModels(menu, &restoreNames, &edits);
    for (const CatalogueEntry &entry : TemplateCatalogue())
        EXPECT_EQ(restoreNames.contains(entry.row), entry.role == TemplateRole::Document) << entry.row;
    EXPECT_EQ(edits, 32);
    EXPECT_EQ(restoreNames[17], (QStringList{"Decizie Alegere Preemptor - PF", "Decizie Alegere Cumparator - PF"}));
    EXPECT_EQ(restoreNames[19], (QStringList{"Decizie Alegere Preemptor - PJ", "Decizie Alegere Cumparator - PJ"}));
    EXPECT_EQ(restoreNames[5], QStringList{"PV Afisare oferta"});
    EXPECT_EQ(restoreNames[36], QStringList{"P.V.Final.Fara Comunicare - Anexa 13"});
    EXPECT_EQ(restoreNames[27], QStringList{"Adresa Sit arheologic"});
}

TEST(SelectNrSol, ChoosesOneToSixAndIgnoresEsc)
{
    TSelectNrSol dialog;
    EXPECT_EQ(dialog.windowTitle(), "Numar solicitanti");
    ASSERT_EQ(dialog.NrSolicit->count(), 6);
    EXPECT_EQ(dialog.NrSolicit->itemText(0), "1");
    EXPECT_EQ(dialog.NrSolicit->itemText(5), "6");
    EXPECT_EQ(dialog.NrSolicit->currentText(), "1");
    EXPECT_EQ(dialog.AmAlesB->text(), "&Am ales");
    EXPECT_EQ(dialog.RenuntB->text(), "&Renunt");

    QTimer::singleShot(0, &dialog, [&dialog] {
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        dialog.NrSolicit->setCurrentIndex(5);
        dialog.AmAlesB->click();
    });
    EXPECT_TRUE(dialog.AskApplicantCount());
    EXPECT_EQ(dialog.applicants(), 6);

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.RenuntB->click(); });
    EXPECT_FALSE(dialog.AskApplicantCount());
}

} // namespace
