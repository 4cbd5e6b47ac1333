#include "core/startup/program.h"

#include "admin/administrationdialog.h"
#include "admin/logindialog.h"
#include "core/hintsettings.h"
#include "core/platform/singleinstance.h"
#include "core/qtprompter.h"
#include "core/startup/mainwindow.h"
#include "core/startup/startupsequence.h"
#include "core/startwindow.h"

#include <exception>

ArvenaApplication::ArvenaApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName("Arvena3");
    setApplicationDisplayName("Arvena3");
}

bool ArvenaApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        qtPrompter().Mesaj(QStringLiteral("Arvena3"), QString::fromStdString(e.what()), ButtonOk, KindError);
        return false;
    }
}

int RunInteractive(platform::SingleInstance &instance)
{
    ApplyHintSettings();
    // The start-up ends the program itself once its last step is done; the
    // closing of the main window must not end the message loops before that.
    QApplication::setQuitOnLastWindowClosed(false);
    TForm1 start;
    TForm4 administration;
    TForm5 login;
    TForm3 mainWindow(qtPrompter(), login, administration);
    StartupSequence startup(qtPrompter(), start, mainWindow, administration);
    start.setStartupSteps([&startup] {
        startup.Run();
        QCoreApplication::exit(0);
    });
    QObject::connect(&instance, &platform::SingleInstance::comeForwardRequested, &start,
                     [&start] { platform::bringForward(&start); });
    start.show();
    return QApplication::exec();
}
