#include "platform/filehelpers.h"
#include "platform/inuse.h"
#include "platform/privatefolder.h"
#include "platform/session.h"
#include "holder.h"
#include "testsupport.h"
#include "qtprint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &content = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
    f.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class FileHelpers : public ::testing::Test {
protected:
    void SetUp() override { resetSession(program.path()); }
    testsupport::TempFolder program;
};

} // namespace

TEST_F(FileHelpers, TempFileNameTakesTheFirstFreeNumberInTheProgramFolder)
{
    EXPECT_EQ(TempFileName("Doc", ".rtf"), program.file("Doc0.rtf"));
    // A leftover nobody holds is deleted and its name taken again.
    writeFile(program.file("Doc0.rtf"));
    EXPECT_EQ(TempFileName("Doc", ".rtf"), program.file("Doc0.rtf"));
    EXPECT_FALSE(QFileInfo::exists(program.file("Doc0.rtf")));
}

TEST_F(FileHelpers, TempFileNameMovesPastFilesHeldOpen)
{
    // Doc0 locked by another process, Doc1 open in the office suite, Doc2 taken by another copy.
    writeFile(program.file("Doc0.rtf"), "locked");
    writeFile(program.file("Doc1.rtf"), "edited");
    writeFile(program.file(".~lock.Doc1.rtf#"), "owner");
    writeFile(program.file("Doc2.rtf"), "other copy");
    Holder lock("lock", {program.file("Doc0.rtf")});
    Holder copy("claim", {program.file("Doc2.rtf")});
    ASSERT_TRUE(lock.held());
    ASSERT_TRUE(copy.held());

    EXPECT_EQ(TempFileName("Doc", ".rtf"), program.file("Doc3.rtf"));
    EXPECT_EQ(readFile(program.file("Doc0.rtf")), "locked");
    EXPECT_EQ(readFile(program.file("Doc1.rtf")), "edited");
    EXPECT_EQ(readFile(program.file("Doc2.rtf")), "other copy");
}

TEST_F(FileHelpers, TempFileNameMarksTheNameForThisCopy)
{
    const QString name = TempFileName("Reg", ".xls");
    EXPECT_TRUE(platform::inUseByThisCopy(name));
    EXPECT_FALSE(platform::inUseByOtherCopy(name));
}

TEST_F(FileHelpers, IsFileHeldOpenTellsEachWayAFileIsHeld)
{
    writeFile(program.file("free.rtf"));
    writeFile(program.file("locked.rtf"));
    writeFile(program.file("office.rtf"));
    writeFile(program.file(".~lock.office.rtf#"));
    Holder lock("lock", {program.file("locked.rtf")});
    ASSERT_TRUE(lock.held());

    EXPECT_FALSE(IsFileHeldOpen(program.file("free.rtf")));
    EXPECT_FALSE(IsFileHeldOpen(program.file("missing.rtf")));
    EXPECT_TRUE(IsFileHeldOpen(program.file("locked.rtf")));
    EXPECT_TRUE(IsFileHeldOpen(program.file("office.rtf")));
}

TEST_F(FileHelpers, FreshWorkFolderGivesANewEmptyFolderInTheWorkFolder)
{
    const QString work = session().workFolder;
    writeFile(work + "/SAV0/Data/Cereri.dbf");
    writeFile(work + "/SAV1/Data/Cereri.dbf");
    Holder other("claim", {work + "/SAV1"});
    ASSERT_TRUE(other.held());

    // SAV0 is a leftover and is emptied; SAV1 belongs to another running copy.
    EXPECT_EQ(FreshWorkFolder("SAV"), work + "/SAV0");
    EXPECT_TRUE(QDir(work + "/SAV0").isEmpty());
    EXPECT_EQ(FreshWorkFolder("SAV"), work + "/SAV2");
    EXPECT_TRUE(QFileInfo::exists(work + "/SAV1/Data/Cereri.dbf"));
}

TEST_F(FileHelpers, DeleteFolderRemovesATreeUnlessSomethingInsideIsHeld)
{
    const QString tree = program.file("tree");
    writeFile(tree + "/a.txt");
    writeFile(tree + "/sub/deeper/b.dbf");
    EXPECT_TRUE(DeleteFolder(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_TRUE(DeleteFolder(program.file("never-there")));
    EXPECT_FALSE(DeleteFolder(""));

    writeFile(tree + "/sub/open.rtf", "keep");
    writeFile(tree + "/other.txt", "keep too");
    Holder lock("lock", {tree + "/sub/open.rtf"});
    ASSERT_TRUE(lock.held());
    EXPECT_FALSE(DeleteFolder(tree));
    // Nothing was deleted, not even the free file beside it.
    EXPECT_EQ(readFile(tree + "/other.txt"), "keep too");
    EXPECT_EQ(readFile(tree + "/sub/open.rtf"), "keep");
}

TEST_F(FileHelpers, CopyAndRemoveMovesTheContent)
{
    QByteArray content;
    for (int i = 0; i < 70000; ++i)
        content.append(char(i * 7));
    writeFile(program.file("a.av3"), content);
    writeFile(program.file("b.av3"), "old target");
    EXPECT_TRUE(CopyAndRemove(program.file("a.av3"), program.file("b.av3")));
    EXPECT_EQ(readFile(program.file("b.av3")), content);
    EXPECT_FALSE(QFileInfo::exists(program.file("a.av3")));
}

TEST_F(FileHelpers, CopyAndRemoveFailsWithoutLosingTheSource)
{
    writeFile(program.file("src.av3"), "precious");
    // missing source
    EXPECT_FALSE(CopyAndRemove(program.file("none.av3"), program.file("t.av3")));
    EXPECT_FALSE(QFileInfo::exists(program.file("t.av3")));
    // target in a folder that does not exist
    EXPECT_FALSE(CopyAndRemove(program.file("src.av3"), program.file("no/such/t.av3")));
    EXPECT_EQ(readFile(program.file("src.av3")), "precious");
    // the same file under two names
    EXPECT_FALSE(CopyAndRemove(program.file("src.av3"), program.path() + "/./src.av3"));
    EXPECT_EQ(readFile(program.file("src.av3")), "precious");
}

TEST_F(FileHelpers, RemoveWorkFolderLeavesWhatAnotherCopyUses)
{
    const QString work = session().workFolder;
    const QString mine = FreshWorkFolder("SAV");
    writeFile(mine + "/Data/Log.dbf");
    writeFile(work + "/SAV7/Data/Log.dbf");
    {
        Holder other("share", {work});
        Holder its("claim", {work + "/SAV7"});
        ASSERT_TRUE(other.held() && its.held());
        RemoveWorkFolder();
        EXPECT_FALSE(QFileInfo::exists(mine));
        EXPECT_TRUE(QFileInfo::exists(work + "/SAV7/Data/Log.dbf"));
    }
    // With the other copy gone, the last one out removes the folder.
    OpenWorkFolder();
    RemoveWorkFolder();
    EXPECT_FALSE(QFileInfo::exists(work));
}

TEST_F(FileHelpers, PrivateFolderSkipsTheOneARunningCopyUses)
{
    writeFile(program.file("TMP0/_qsql.tmp"), "other copy");
    writeFile(program.file("TMP2/stale.tmp"));
    {
        Holder other("claim", {program.file("TMP0")});
        ASSERT_TRUE(other.held());
        // TMP0 in use, TMP1 absent: this copy takes TMP1.
        EXPECT_EQ(platform::choosePrivateFolder(program.path()), program.file("TMP1"));
        EXPECT_TRUE(QFileInfo::exists(program.file("TMP0/_qsql.tmp")));
        EXPECT_TRUE(QDir(program.file("TMP1")).exists());
        // A second choice by the same copy moves on again and empties a stale folder.
        EXPECT_EQ(platform::choosePrivateFolder(program.path()), program.file("TMP2"));
        EXPECT_TRUE(QDir(program.file("TMP2")).isEmpty());
    }
}
