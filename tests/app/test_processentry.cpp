#include "testsupport.h"
#include "qtprint.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The environment of a clerk's session: own program folder and runtime folder.
QProcessEnvironment sessionEnvironment(const QString &home, const QString &runtime)
{
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ARVENA3_HOME", home);
    env.insert("XDG_RUNTIME_DIR", runtime);
    return env;
}

bool waitFor(const std::function<bool()> &condition, int limitMs = 30000)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > limitMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

} // namespace

TEST(ProcessEntry, AFirstStartPreparesTheDataWaitsInTheMainWindowAndEndsWhenItCloses)
{
    testsupport::TempFolder home;
    QProcessEnvironment env = sessionEnvironment(home.path(), home.file("run"));
    env.insert("ARVENA3_SYSDIR", home.file("sys"));
    env.insert("ARVENA3_START_DELAY_MS", "0");
    env.insert("ARVENA3_CLOSE_MAIN_WINDOW", "1");
    QDir().mkpath(home.file("sys"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(testsupport::binary("arvena3"), {});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    for (const char *file : {"Log.dbf", "Cereri.dbf", "Comunicari.dbf", "Preemptori.dbf", "AlteActe.dbf",
                             "Vanzatori.dbf", "Arv2.set", "Anexa_1.rtf"})
        EXPECT_TRUE(QFileInfo::exists(home.file("Data/") + file)) << file;
    EXPECT_TRUE(QFileInfo::exists(home.file("sys/GMT.dII")));
    // The work folder goes with the end of the run.
    EXPECT_FALSE(QFileInfo::exists(home.file("Temp")));
}

TEST(ProcessEntry, ASecondStartEndsAtOnceAndTheFirstComesForward)
{
    testsupport::TempFolder home;
    const QString runtime = home.file("run");
    QProcessEnvironment env = sessionEnvironment(home.path(), runtime);
    // The first copy keeps its start window up for the length of the test and
    // reports, through its logging category, when it is asked to come forward.
    QProcessEnvironment firstEnv = env;
    firstEnv.insert("ARVENA3_START_DELAY_MS", "600000");
    firstEnv.insert("QT_LOGGING_RULES", "arvena.instance.debug=true");
    QProcess first;
    first.setProcessEnvironment(firstEnv);
    first.setProcessChannelMode(QProcess::SeparateChannels);
    first.start(testsupport::binary("arvena3"), {});
    ASSERT_TRUE(first.waitForStarted(10000));
    const auto listening = [&runtime] {
        const QStringList sockets = QDir(runtime).entryList({"arvena3-*"}, QDir::System);
        return std::any_of(sockets.begin(), sockets.end(), [](const QString &s) { return !s.endsWith(".lock"); });
    };
    ASSERT_TRUE(waitFor(listening));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(testsupport::binary("arvena3"), {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    // No message from the second start.
    EXPECT_TRUE(second.readAllStandardError().isEmpty());
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());

    QByteArray log;
    const bool cameForward = waitFor([&] {
        first.waitForReadyRead(100);
        log += first.readAllStandardError();
        return log.contains("asked this copy to come forward");
    });
    EXPECT_TRUE(cameForward) << log.constData();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    if (!first.waitForFinished(10000))
        first.kill();
}

TEST(ProcessEntry, ASocketLeftByAKilledCopyDoesNotStopTheNextStart)
{
    testsupport::TempFolder home;
    const QString runtime = home.file("run");
    QProcessEnvironment env = sessionEnvironment(home.path(), runtime);
    env.insert("ARVENA3_START_DELAY_MS", "600000");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    // A socket file with nobody listening, as a killed copy leaves it.
    const QString socketPath = runtime + "/arvena3-console";
    QFile stale(socketPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    QProcess p;
    p.setProcessEnvironment(env);
    p.start(testsupport::binary("arvena3"), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    const bool listening = waitFor([&socketPath] {
        QLocalSocket s;
        s.connectToServer(socketPath);
        return s.waitForConnected(200);
    });
    EXPECT_TRUE(listening);
    EXPECT_EQ(p.state(), QProcess::Running);
    p.terminate();
    if (!p.waitForFinished(10000))
        p.kill();
}
