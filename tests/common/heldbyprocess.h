// Another process that holds something (a lock, a mark) for the length of a
// test: it prints "held" once it holds it and lets go when its standard input
// closes, which the destructor does.
#pragma once

#include <QProcess>
#include <QStringList>

class HeldByProcess {
public:
    HeldByProcess(const QString &program, const QStringList &args)
    {
        process_.start(program, args);
        if (!process_.waitForStarted(10000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        held_ = process_.readLine().trimmed() == "held";
    }
    ~HeldByProcess()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000))
            process_.kill();
    }
    HeldByProcess(const HeldByProcess &) = delete;
    HeldByProcess &operator=(const HeldByProcess &) = delete;

    bool held() const { return held_; }

private:
    QProcess process_;
    bool held_ = false;
};
