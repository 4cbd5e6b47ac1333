// Opening a file with the program the desktop associates with it (documents,
// spreadsheets, law texts), and starting the program's helper programs.
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Opens `path` with its associated program and returns at once; false when
// nothing could be started.
//
// When ARVENA3_OPEN is set, that command (split as a shell would split it) is
// run with the path as its last argument instead, and waited for up to 5 s,
// so that a recording command has done its work when this returns. Tests use
// it to see which files the program opens; an administrator can use it to
// name the program for documents.
bool openWithAssociatedProgram(const QString &path);

// Starts the program at `path` on its own, with `arguments` (each handed over
// as one argument, blanks included) and `workingFolder` as its current
// folder, and returns without waiting. A downloaded program that is not yet
// executable is made so first. False when it could not be started.
bool startProgram(const QString &path, const QStringList &arguments, const QString &workingFolder);

} // namespace platform
