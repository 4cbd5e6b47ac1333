// "Listeaza Cerere", "Listeaza Act" and "Listeaza Comunicare" as the register
// runs them: the cached documents and the keep-or-rebuild question, the
// message for a missing template, a second click while a document is being
// built, and a failed write that leaves no half document behind.
#include "docfixture.h"
#include "documentsupport.h"
#include "register/documents/documentlisting.h"
#include "scriptedprompter.h"
#include "startupfixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class ListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        docfixture::prepareDataFolder(true);
        docfixture::addFullRequest();
    }
    QString data(const QString &name) const { return QDir(session().dataFolder).filePath(name); }
    QStringList leftovers() const
    {
        return QDir(session().dataFolder).entryList({QStringLiteral("*.part"), QStringLiteral("AlteActe*.rtf")}, QDir::Files);
    }

    ProgramFolderFixture program;
    documents::OpenRecorder opened{program.path()};
    ScriptedPrompter prompter;
    DocumentListing listing{prompter};
};

// Lists again from inside the question, as a second click would while the
// first listing waits for the clerk: the same act, and the form through
// another listing object.
class ClickingPrompter : public ScriptedPrompter {
public:
    DocumentListing *listing = nullptr;
    Listing second;
    Listing other;
    int Mesaj(const QString &title, const QString &text, int buttons, int kind) override
    {
        second = listing->ListAct(6);
        DocumentListing another(*this);
        other = another.ListRequest(1);
        return ScriptedPrompter::Mesaj(title, text, buttons, kind);
    }
};

} // namespace

TEST_F(ListingTest, AnActDocumentIsKeptOrRebuiltAsTheClerkAnswers)
{
    const Listing first = listing.ListAct(6);
    EXPECT_EQ(first.outcome, ListingOutcome::Built);
    EXPECT_EQ(first.path, data(QStringLiteral("AlteActe6.rtf")));
    EXPECT_TRUE(prompter.questions.isEmpty());

    // Kept: the file the clerk may have edited is opened as it is.
    documents::writeFile(first.path, documents::readFile(first.path).replace("12/6", "EDITAT"));
    prompter.answer(ResultYes);
    EXPECT_EQ(listing.ListAct(6).outcome, ListingOutcome::Reused);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, QStringLiteral("Listare Act"));
    EXPECT_EQ(prompter.questions[0].text, QStringLiteral("\rDoriti sa pastrati fisierul existent?"));
    EXPECT_EQ(prompter.questions[0].buttons, ButtonDa | ButtonNu);
    EXPECT_EQ(prompter.questions[0].kind, KindConfirmation);
    EXPECT_TRUE(documents::readFile(first.path).contains("EDITAT"));

    // Esc keeps it too; "Nu" builds it afresh from the tables.
    EXPECT_EQ(listing.ListAct(6).outcome, ListingOutcome::Reused);
    prompter.answer(ResultNo);
    EXPECT_EQ(listing.ListAct(6).outcome, ListingOutcome::Built);
    EXPECT_FALSE(documents::readFile(first.path).contains("EDITAT"));
    EXPECT_EQ(opened.opened().size(), 4);
}

TEST_F(ListingTest, TheFormAndAnAnswersDocumentAreReusedWithoutAsking)
{
    EXPECT_EQ(listing.ListRequest(1).outcome, ListingOutcome::Built);
    EXPECT_EQ(listing.ListRequest(1).outcome, ListingOutcome::Reused);
    EXPECT_EQ(listing.ListAnswer(1).outcome, ListingOutcome::Built);
    EXPECT_EQ(listing.ListAnswer(1).outcome, ListingOutcome::Reused);
    EXPECT_TRUE(QFile::exists(data(QStringLiteral("Cerere1.rtf"))));
    EXPECT_TRUE(QFile::exists(data(QStringLiteral("ComAc1.rtf"))));
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_EQ(opened.opened().size(), 4);
}

TEST_F(ListingTest, AMissingTemplateIsNamedAndNothingIsMade)
{
    ASSERT_TRUE(QFile::remove(data(QStringLiteral("Anexa_9.rtf"))));
    EXPECT_EQ(listing.ListAct(6).outcome, ListingOutcome::Failed);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, QStringLiteral("Listare Act"));
    EXPECT_EQ(prompter.questions[0].text,
              QStringLiteral("Nu pot accesa modelul ") + QDir::toNativeSeparators(data(QStringLiteral("Anexa_9.rtf"))) + "!");
    EXPECT_EQ(prompter.questions[0].kind, KindError);
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_TRUE(opened.opened().isEmpty());
}

TEST_F(ListingTest, AnActWithoutADocumentDoesNothing)
{
    EXPECT_EQ(listing.ListAct(26).outcome, ListingOutcome::Nothing);
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_TRUE(opened.opened().isEmpty());
}

TEST_F(ListingTest, ASecondClickWhileTheFirstRunsDoesNothing)
{
    ClickingPrompter clicking;
    DocumentListing guarded(clicking);
    clicking.listing = &guarded;
    ASSERT_EQ(guarded.ListAct(6).outcome, ListingOutcome::Built);
    clicking.answer(ResultYes);
    EXPECT_EQ(guarded.ListAct(6).outcome, ListingOutcome::Reused);
    EXPECT_EQ(clicking.second.outcome, ListingOutcome::Nothing);
    EXPECT_EQ(clicking.other.outcome, ListingOutcome::Nothing);
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Cerere1.rtf"))));
    EXPECT_EQ(clicking.questions.size(), 1);
    EXPECT_FALSE(guarded.busy());
}

TEST_F(ListingTest, AFullDiskLeavesNoHalfDocument)
{
    for (const auto &list : {std::function<Listing()>([&] { return listing.ListAct(2); }),
                             std::function<Listing()>([&] { return listing.ListRequest(1); })}) {
        prompter.questions.clear();
        Listing result;
        {
            documents::DiskFullAt full(1500);
            result = list();
        }
        EXPECT_EQ(result.outcome, ListingOutcome::Failed);
        ASSERT_EQ(prompter.questions.size(), 1);
        EXPECT_EQ(prompter.questions[0].kind, KindError);
        EXPECT_TRUE(prompter.questions[0].text.contains(QStringLiteral("scri")))
            << prompter.questions[0].text.toStdString();
        EXPECT_FALSE(prompter.questions[0].text.contains(QStringLiteral(".part")));
    }
    EXPECT_EQ(leftovers(), QStringList());
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("Cerere1.rtf"))));
    EXPECT_EQ(QDir(session().programFolder).entryList({QStringLiteral("COTmp*"), QStringLiteral("LP*")}, QDir::Files),
              QStringList());
    EXPECT_TRUE(opened.opened().isEmpty());
    // With room again the same listing succeeds.
    EXPECT_EQ(listing.ListAct(2).outcome, ListingOutcome::Built);
}

TEST_F(ListingTest, APlaceThatCannotBeWrittenIsReportedAndLeavesNothing)
{
    // A folder where the document's part file would go: nothing can be written there.
    ASSERT_TRUE(QDir().mkpath(data(QStringLiteral("AlteActe7.rtf.part"))));
    EXPECT_EQ(listing.ListAct(7).outcome, ListingOutcome::Failed);
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_EQ(prompter.questions[0].title, QStringLiteral("Listare Act"));
    EXPECT_TRUE(prompter.questions[0].text.contains(QStringLiteral("nu poate fi creat"))) << prompter.questions[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("AlteActe7.rtf"))));
    EXPECT_TRUE(opened.opened().isEmpty());
}
