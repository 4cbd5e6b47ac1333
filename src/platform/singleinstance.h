// One copy of the program per user desktop.
//
// The first copy holds a lock file and listens on a local socket in the
// user's runtime folder; a second start finds the lock taken, asks the first
// copy through the socket to come forward, and ends without a message.
#pragma once

#include "platform/nativefile.h"

#include <QObject>
#include <QString>

class QLocalServer;

namespace platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first copy on the desktop; it then
    // listens for later starts until it is destroyed.
    bool becomePrimary();

    // From a later start: asks the first copy to come forward. False when it
    // could not be reached.
    bool askPrimaryToComeForward();

    // Path of the socket (the lock file is beside it, ending in ".lock").
    QString socketPath() const { return socketPath_; }

signals:
    // A later start asked this copy to come forward.
    void comeForwardRequested();

private:
    void acceptConnection();

    QString socketPath_;
    // The lock file that only the first copy holds.
    NativeFile lockFile_;
    QLocalServer *server_ = nullptr;
};

} // namespace platform
