// Process entry of Arvena3: the unattended report ("-t"), or one copy per
// user desktop, then the start window, whose timer runs the start-up.
#include "platform/singleinstance.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/unattended.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace {

// A scheduled job has no session runtime folder, and Qt says so on standard
// error, which lands in the administrator's mail every night: the unattended
// run then gets a private one (mode 0700) for its length.
std::unique_ptr<QTemporaryDir> giveRuntimeFolderWhenMissing()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return nullptr;
    auto folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/arvena3-runtime-XXXXXX"));
    if (!folder->isValid())
        return nullptr;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder->path()));
    return folder;
}

// The unattended report runs beside a clerk's open copy and from scheduled
// jobs, which may have no display: it then needs none.
int runUnattended(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QTemporaryDir> runtimeFolder = giveRuntimeFolderWhenMissing();
    ArvenaApplication app(argc, argv);
    ApplyFixedFormats();
    PrepareRunFolders();
    // The machine settings the interactive start would use, so that both
    // runs find the same server folder.
    ChooseWritableSystemFolder();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunUnattendedReport(out, err);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && IsUnattendedReportArgument(QString::fromLocal8Bit(argv[1])))
        return runUnattended(argc, argv);

    ArvenaApplication app(argc, argv);
    platform::SingleInstance instance;
    if (!instance.becomePrimary()) {
        instance.askPrimaryToComeForward();
        return 0;
    }
    return RunInteractive(instance);
}
