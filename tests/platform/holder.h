// Runs inuse_holder as another process for the length of a test.
#pragma once

#include "heldbyprocess.h"
#include "testsupport.h"

class Holder : public HeldByProcess {
public:
    Holder(const QString &mode, const QStringList &paths)
        : HeldByProcess(testsupport::binary("inuse_holder"), QStringList{mode} + paths)
    {
    }
};
