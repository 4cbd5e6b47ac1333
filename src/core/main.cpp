// Process entry of Arvena3: one copy per user desktop, then the start window,
// whose timer runs the start-up.
#include "core/hintsettings.h"
#include "core/platform/singleinstance.h"
#include "core/startwindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
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
