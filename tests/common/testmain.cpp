// Entry of every test executable: a QApplication on the offscreen platform
// around GoogleTest, with HOME and the XDG folders redirected to a private
// temporary folder so that no test touches the real home or system folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
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
