// Small helpers shared by the tests: private folders, the paths CTest hands
// over, and running the project's own executables.
#pragma once

#include "qtprint.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// A fresh temporary folder that is removed when the object goes away.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Folder for artefacts a person may want to look at (screenshots, documents):
// build/test-output/<sub>, created on demand.
QString outputFolder(const QString &sub);

// Full path of an executable built by the project (build/bin/<name>).
QString binary(const QString &name);

// Root of the source tree (fixtures live under tests/).
QString sourceRoot();

// Runs a program and returns its exit code (-1 when it could not start or crashed);
// stdout and stderr are returned through the pointers when given.
int runProgram(const QString &program, const QStringList &args, QByteArray *out = nullptr,
               QByteArray *err = nullptr, int timeoutMs = 120000, const QByteArray &input = {});

// True when an external tool is on PATH (compatibility checks skip without it).
bool haveTool(const QString &name);

} // namespace testsupport
