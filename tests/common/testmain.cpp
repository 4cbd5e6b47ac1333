// Entry of every test executable: a QApplication on the offscreen platform
// around GoogleTest, with HOME and the XDG folders redirected to a private
// temporary folder so that no test touches the real home or system folders.
//
// Tests of keyboard wiring need an active window with real focus: a test
// registered with ENV ARVENA3_XVFB=1 runs on an X display of its own, an
// Xvfb server started here on a free display number and ended with the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <string>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An Xvfb server for the length of the test run. Xvfb picks the first free
// display number itself (-displayfd) and writes it once it accepts
// connections, so nothing here waits for a time.
class PrivateDisplay {
public:
    // Starts the server and points DISPLAY at it; false when it cannot run.
    bool start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        pid_ = fork();
        if (pid_ < 0)
            return false;
        if (pid_ == 0) {
            // The server goes with the test even when the test crashes.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return false;
        qputenv("DISPLAY", QByteArray(":") + QByteArray::fromStdString(number));
        qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }

    ~PrivateDisplay()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    PrivateDisplay display;
    if (qEnvironmentVariableIsSet("ARVENA3_XVFB") && !display.start()) {
        std::fprintf(stderr, "Xvfb could not be started: these tests need an X display of their own\n");
        return 1;
    }
    QTemporaryDir home(QDir::tempPath() + "/arvena3-test-home-XXXXXX");
    const QByteArray h = home.path().toLocal8Bit();
    qputenv("HOME", h);
    qputenv("XDG_CONFIG_HOME", h + "/.config");
    qputenv("XDG_DATA_HOME", h + "/.local/share");
    qputenv("XDG_RUNTIME_DIR", h + "/run");
    QDir().mkpath(home.path() + "/run");
    QFile::setPermissions(home.path() + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("ARVENA3_SYSDIR"))
        qputenv("ARVENA3_SYSDIR", h + "/sys");
    QDir().mkpath(home.path() + "/sys");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
