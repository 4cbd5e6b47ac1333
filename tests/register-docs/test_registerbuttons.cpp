// The register window's "Listeaza Cerere" and "Listeaza Act" run the listing
// on the selected request and act, offscreen on real tables.
#include "dialogs/bandedgrid.h"
#include "docfixture.h"
#include "documentsupport.h"
#include "register/tevidente.h"
#include "scriptedprompter.h"
#include "startupfixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>

namespace {

class RegisterButtonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        docfixture::prepareDataFolder(true);
        docfixture::addFullRequest();
        window.OpenDatasets();
    }
    QString data(const QString &name) const { return QDir(session().dataFolder).filePath(name); }

    ProgramFolderFixture program;
    documents::OpenRecorder opened{program.path()};
    ScriptedPrompter prompter;
    TEvidente window{prompter};
};

} // namespace

TEST_F(RegisterButtonsTest, ListActListsTheSelectedActAndAsksBeforeRebuilding)
{
    ASSERT_TRUE(window.CxGrid->locate(QStringLiteral("IDA"), 6));
    ASSERT_TRUE(window.ListAct->isEnabled());
    window.ListAct->click();
    EXPECT_EQ(opened.opened(), QStringList{data(QStringLiteral("AlteActe6.rtf"))});
    EXPECT_TRUE(window.ListAct->isEnabled());

    prompter.answer(ResultNo);
    window.ListAct->click();
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].text, QStringLiteral("\rDoriti sa pastrati fisierul existent?"));
    EXPECT_EQ(opened.opened().size(), 2);

    // An act registered by hand has no document: the button stays off.
    ASSERT_TRUE(window.CxGrid->locate(QStringLiteral("IDA"), 26));
    EXPECT_FALSE(window.ListAct->isEnabled());
}

TEST_F(RegisterButtonsTest, ListCerereListsTheSelectedRequestsForm)
{
    window.ListCerereB->click();
    EXPECT_EQ(opened.opened(), QStringList{data(QStringLiteral("Cerere1.rtf"))});
    EXPECT_TRUE(window.ListCerereB->isEnabled());
    EXPECT_TRUE(prompter.questions.isEmpty());
}
