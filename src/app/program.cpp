#include "app/program.h"

#include "admin/tform4.h"
#include "admin/tform5.h"
#include "ui/hintsettings.h"
#include "platform/singleinstance.h"
#include "platform/sound.h"
#include "ui/bringforward.h"
#include "ui/qtprompter.h"
#include "app/mainwindow.h"
#include "app/startupsequence.h"
#include "app/startupwindows.h"
#include "app/startwindowprompter.h"
#include "ui/tform1.h"

#include <exception>

ArvenaApplication::ArvenaApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName("Arvena3");
    setApplicationDisplayName("Arvena3");
    platform::setBeepHandler([] { QApplication::beep(); });
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
    StartupWindows windows(start, mainWindow, administration);
    StartWindowPrompter startupPrompter(qtPrompter(), start);
    StartupSequence startup(startupPrompter, windows);
    start.setStartupSteps([&startup] {
        startup.Run();
        QCoreApplication::exit(0);
    });
    QObject::connect(&instance, &platform::SingleInstance::comeForwardRequested, &start,
                     [&start] { ui::bringForward(&start); });
    start.show();
    return QApplication::exec();
}
