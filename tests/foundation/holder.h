// Runs inuse_holder as another process for the length of a test.
#pragma once

#include "testsupport.h"

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

class Holder {
public:
    Holder(const QString &mode, const QStringList &paths)
    {
        process_.start(testsupport::binary("inuse_holder"), QStringList{mode} + paths);
        if (!process_.waitForStarted(10000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        held_ = process_.readLine().trimmed() == "held";
    }
    ~Holder()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000))
            process_.kill();
    }
    bool held() const { return held_; }

private:
    QProcess process_;
    bool held_ = false;
};
