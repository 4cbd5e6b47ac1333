// The hand-off to a downloaded installer, through the real program: the
// first start runs it and ends, the next one deletes it, the one after that
// forgets it was started.
#include "platform/programfiles.h"
#include "datastore/profilefile.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment programEnvironment(const testsupport::TempFolder &home)
{
    QDir().mkpath(home.file("sys"));
    QDir().mkpath(home.file("run"));
    QFile::setPermissions(home.file("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ARVENA3_HOME", home.path());
    env.insert("ARVENA3_SYSDIR", home.file("sys"));
    env.insert("XDG_RUNTIME_DIR", home.file("run"));
    env.insert("ARVENA3_START_DELAY_MS", "0");
    env.insert("ARVENA3_CLOSE_MAIN_WINDOW", "1");
    return env;
}

int runProgram(const testsupport::TempFolder &home)
{
    QProcess p;
    p.setProcessEnvironment(programEnvironment(home));
    p.start(testsupport::binary("arvena3"), {});
    if (!p.waitForFinished(120000)) {
        p.kill();
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QStringList waitForLines(const QString &path)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 30000) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QString text = QString::fromLocal8Bit(f.readAll());
            if (text.endsWith('\n'))
                return text.trimmed().split('\n');
        }
        QThread::msleep(50);
    }
    return {};
}

QString lansat(const testsupport::TempFolder &home)
{
    return ProfileFile(home.file("Data/Arv2.set")).value("CONST", "Lansat");
}

} // namespace

TEST(Installer, TheFirstStartRunsItTheNextDeletesItTheThirdForgetsIt)
{
    testsupport::TempFolder home;
    const QString installer = home.file(platform::kInstallerFileName);
    {
        // Records how it was started, in its working folder.
        QFile script(installer);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n{ echo \"$#\"; echo \"$1\"; pwd; } > started.tmp && mv started.tmp started.txt\n");
    }
    QFile::setPermissions(installer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_EQ(runProgram(home), 0);
    const QStringList started = waitForLines(home.file("started.txt"));
    ASSERT_EQ(started.size(), 3);
    EXPECT_EQ(started.at(0), "1");
    EXPECT_EQ(QFileInfo(started.at(1)).canonicalFilePath(),
              QFileInfo(testsupport::binary("arvena3")).canonicalFilePath());
    EXPECT_EQ(QFileInfo(started.at(2)).canonicalFilePath(), QFileInfo(home.path()).canonicalFilePath());
    EXPECT_EQ(lansat(home), "DA");
    // It ended before touching the tables.
    EXPECT_FALSE(QFile::exists(home.file("Data/Log.dbf")));

    ASSERT_EQ(runProgram(home), 0);
    EXPECT_FALSE(QFile::exists(installer));
    EXPECT_EQ(lansat(home), "DA");
    EXPECT_TRUE(QFile::exists(home.file("Data/Log.dbf")));

    ASSERT_EQ(runProgram(home), 0);
    EXPECT_EQ(lansat(home), "NU");
}
