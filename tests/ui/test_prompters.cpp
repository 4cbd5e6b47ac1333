#include "ui/terori.h"
#include "ui/tcontor.h"
#include "ui/qtprompter.h"
#include "scriptedprompter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include "qtprint.h"

// An operation as the other parts write them: it asks, then works with progress.
static bool deleteWithConfirmation(Prompter &prompter, int rows)
{
    if (prompter.Mesaj("Stergere", "Stergeti cererea?", ButtonDa | ButtonNu, KindConfirmation) != ResultYes)
        return false;
    prompter.ProgressBegin("Sterg ...", rows);
    for (int i = 0; i < rows; ++i)
        prompter.ProgressStep();
    prompter.ProgressEnd();
    prompter.Mesaj("Stergere", "Cererea a fost stearsa.", ButtonOk, KindInformation);
    return true;
}

TEST(ScriptedPrompter, AnswersInOrderAndRecordsEverything)
{
    ScriptedPrompter p;
    p.answer({ResultYes, ResultNo});
    EXPECT_TRUE(deleteWithConfirmation(p, 2));
    EXPECT_FALSE(deleteWithConfirmation(p, 2));
    EXPECT_EQ(p.pendingAnswers(), 0);

    ASSERT_EQ(p.questions.size(), 3);
    EXPECT_EQ(p.questions[0].answer, ResultYes);
    // The notice with OK alone answered itself and left the queue for the next question.
    EXPECT_EQ(p.questions[1].text, "Cererea a fost stearsa.");
    EXPECT_EQ(p.questions[1].answer, ResultOk);
    EXPECT_EQ(p.questions[1].kind, KindInformation);
    EXPECT_EQ(p.questions[2].answer, ResultNo);
    EXPECT_EQ(p.progress, (QStringList{"begin Sterg ... 2", "step", "step", "end"}));
    EXPECT_EQ(p.calls.first(), "Mesaj Stergere: Stergeti cererea?");
    EXPECT_EQ(p.calls.size(), 7);
}

TEST(ScriptedPrompter, UnscriptedQuestionIsCancelledAndEmptyMaskShowsNothing)
{
    ScriptedPrompter p;
    EXPECT_EQ(p.Mesaj("T", "Continuati?", ButtonDa | ButtonNu, KindConfirmation), ResultCancel);
    EXPECT_EQ(p.Mesaj("T", "nimic", 0, KindError), ResultCancel);
    EXPECT_EQ(p.questions.size(), 1);
}

TEST(ScriptedPrompter, RecordsBalloonsWithTheirControl)
{
    ScriptedPrompter p;
    QLineEdit cnp;
    cnp.setObjectName("CnpE");
    p.ShowProblem("CNP incorect!", &cnp);
    p.ShowIndication("Selectati o cerere", nullptr);
    ASSERT_EQ(p.balloons.size(), 2);
    EXPECT_TRUE(p.balloons[0].problem);
    EXPECT_EQ(p.balloons[0].control, "CnpE");
    EXPECT_FALSE(p.balloons[1].problem);
    EXPECT_EQ(p.calls, (QStringList{"ShowProblem CNP incorect!", "ShowIndication Selectati o cerere"}));
}

TEST(ScriptedPrompter, ProgressStopsAtTheMaximum)
{
    ScriptedPrompter p;
    p.ProgressBegin("Creez Registrul ...", 2);
    for (int i = 0; i < 4; ++i)
        p.ProgressStep();
    EXPECT_EQ(p.progressPosition, 2);
}

TEST(QtPrompter, DrivesTheProcesssWindows)
{
    QtPrompter &p = qtPrompter();
    QTimer::singleShot(0, qApp, [] { messageDialog()->button(0)->click(); });
    EXPECT_EQ(p.Mesaj("Stergere", "Stergeti?", ButtonDa | ButtonNu, KindConfirmation), ResultYes);
    EXPECT_EQ(messageDialog()->title(), "Stergere");

    p.ProgressBegin("Creez Registrul ...", 7);
    EXPECT_TRUE(progressWindow()->isVisible());
    EXPECT_EQ(progressWindow()->description(), "Creez Registrul ...");
    EXPECT_EQ(progressWindow()->maximum(), 7);
    p.ProgressStep();
    EXPECT_EQ(progressWindow()->position(), 1);
    p.ProgressEnd();
    EXPECT_FALSE(progressWindow()->isVisible());
}
