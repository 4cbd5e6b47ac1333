// The interactive run of the program: its application object, its windows,
// and the start window whose timer runs the start-up.
//
//   ArvenaApplication app(argc, argv);
//   ... one copy per desktop ...
//   return RunInteractive(instance);
#pragma once

#include <QApplication>

namespace platform {
class SingleInstance;
}

// The application object of the program. An error that escapes a window's
// own operation is shown to the clerk with its text, and the work goes on.
class ArvenaApplication : public QApplication {
    Q_OBJECT
public:
    ArvenaApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Makes the windows, shows the start window and runs the message loop until
// the start-up has ended; `instance` brings the program forward when it is
// started again. Returns the exit code of the process.
int RunInteractive(platform::SingleInstance &instance);
