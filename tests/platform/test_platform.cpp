#include "platform/inuse.h"
#include "platform/shellopen.h"
#include "platform/workstation.h"
#include "holder.h"
#include "testsupport.h"
#include "qtprint.h"

#include <QFile>
#include <QSysInfo>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

TEST(WorkstationUser, ComputerNameCutTo15AndUnknownUser)
{
    struct Case {
        const char *computer, *user, *expected;
    };
    const Case cases[] = {
        {"PRIMARIE", "ana", "PRIMARIE - ana"},
        {"registratura-etaj1", "ana", "registratura-et - ana"},
        {"PC15CARACTERE15", "ion", "PC15CARACTERE15 - ion"},
        {"PRIMARIE", "", "PRIMARIE - Necunoscut"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(platform::composeWorkstationUser(c.computer, c.user), QString(c.expected)) << c.computer;
}

TEST(WorkstationUser, HostAndLoginOfThisProcess)
{
    const QString host = QSysInfo::machineHostName().section('.', 0, 0).left(15);
    const QString user = QString::fromLocal8Bit(getpwuid(geteuid())->pw_name);
    EXPECT_EQ(platform::workstationUser(), host + " - " + user);
}

TEST(OpenWithAssociatedProgram, OverrideCommandReceivesTheFullPath)
{
    testsupport::TempFolder dir;
    const QString script = dir.file("record.sh");
    QFile s(script);
    ASSERT_TRUE(s.open(QIODevice::WriteOnly));
    s.write("#!/bin/sh\nprintf '%s|%s\\n' \"$1\" \"$2\" >> \"$0.log\"\n");
    s.close();
    s.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // The command may carry arguments of its own; the path comes last.
    qputenv("ARVENA3_OPEN", QFile::encodeName(script) + " --writer");
    const bool opened = platform::openWithAssociatedProgram(dir.file("Cerere 12.rtf"));
    qunsetenv("ARVENA3_OPEN");
    EXPECT_TRUE(opened);
    QFile l(script + ".log");
    ASSERT_TRUE(l.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(l.readAll()), "--writer|" + dir.file("Cerere 12.rtf") + "\n");
}

TEST(OpenWithAssociatedProgram, MissingOverrideProgramFails)
{
    qputenv("ARVENA3_OPEN", "/no/such/program");
    EXPECT_FALSE(platform::openWithAssociatedProgram("/tmp/x.rtf"));
    qunsetenv("ARVENA3_OPEN");
}

TEST(InUse, AClaimExcludesOtherCopiesAndEndsWithTheProcess)
{
    testsupport::TempFolder dir;
    const QString mine = dir.file("TMP0");
    const QString theirs = dir.file("TMP1");
    const QString shared = dir.file("Temp");
    ASSERT_TRUE(platform::claimInUse(mine));
    ASSERT_TRUE(platform::shareInUse(shared));
    {
        Holder other("claim", {theirs});
        ASSERT_TRUE(other.held());
        EXPECT_TRUE(platform::inUseByOtherCopy(theirs));
        EXPECT_FALSE(platform::claimInUse(theirs));
        EXPECT_FALSE(platform::inUseByOtherCopy(mine));
        // Names are compared as Windows compares them.
        EXPECT_TRUE(platform::inUseByOtherCopy(dir.file("tmp1")));
        // Another copy can neither claim what this one claimed nor what it shares.
        Holder refused("claim", {mine});
        EXPECT_FALSE(refused.held());
        Holder sharing("share", {shared});
        EXPECT_TRUE(sharing.held());
    }
    // The other process has ended: its mark went with it.
    EXPECT_FALSE(platform::inUseByOtherCopy(theirs));
    EXPECT_TRUE(platform::claimInUse(theirs));
    platform::releaseInUse(mine);
    platform::releaseInUse(theirs);
    platform::releaseInUse(shared);
    EXPECT_FALSE(platform::inUseByThisCopy(mine));
}
