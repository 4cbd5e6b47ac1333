// Process entry of Arvena3: the unattended report ("-t"), or one copy per
// user desktop, then the start window, whose timer runs the start-up.
#include "core/hintsettings.h"
#include "core/platform/singleinstance.h"
#include "core/startup/startup.h"
#include "core/startup/unattended.h"
#include "core/startwindow.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// The unattended report runs beside a clerk's open copy and from scheduled
// jobs, which may have no display: it then needs none.
int runUnattended(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Arvena3");
    ApplyFixedFormats();
    PrepareRunFolders();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunUnattendedReport(out, err);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && IsUnattendedReportArgument(QString::fromLocal8Bit(argv[1])))
        return runUnattended(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName("Arvena3");
    QApplication::setApplicationDisplayName("Arvena3");

    platform::SingleInstance instance;
    if (!instance.becomePrimary()) {
        instance.askPrimaryToComeForward();
        return 0;
    }

    ApplyHintSettings();
    TForm1 start;
    QObject::connect(&instance, &platform::SingleInstance::comeForwardRequested, &start,
                     [&start] { platform::bringForward(&start); });
    start.show();
    return app.exec();
}
