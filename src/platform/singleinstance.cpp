#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "arvena.instance", QtWarningMsg)

namespace platform {

namespace {

const QByteArray comeForwardRequest = "come-forward\n";

// The desktop this process shows its windows on, as part of a file name.
QString desktopName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("console");
    for (QChar &c : display) {
        if (!c.isLetterOrNumber())
            c = '_';
    }
    return display;
}

QString defaultSocketPath()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath() + "/arvena3-" + QString::number(::getuid());
    QDir().mkpath(folder);
    return QDir(folder).filePath("arvena3-" + desktopName());
}

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent), socketPath_(defaultSocketPath()) {}

SingleInstance::~SingleInstance()
{
    if (server_) {
        server_->close();
        delete server_;
    }
}

bool SingleInstance::becomePrimary()
{
    if (!lockFile_.isOpen() && !lockFile_.open(socketPath_ + ".lock", NativeFile::ReadWriteCreate))
        return true; // nowhere to keep the lock: do not stop the clerk from working
    if (!lockFile_.tryLock(0, 1, LockKind::Exclusive))
        return false;
    // The lock is ours: a socket file left behind by a crashed copy is stale.
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    if (!server_->listen(socketPath_))
        qCWarning(lcInstance) << "cannot listen on" << socketPath_ << server_->errorString();
    return true;
}

bool SingleInstance::askPrimaryToComeForward()
{
    // The first copy may be starting right now and not listen yet.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(1000)) {
            socket.write(comeForwardRequest);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray line = socket->readLine();
            if (line == comeForwardRequest) {
                qCDebug(lcInstance) << "a later start asked this copy to come forward";
                emit comeForwardRequested();
            }
            socket->disconnectFromServer();
        });
    }
}

} // namespace platform
