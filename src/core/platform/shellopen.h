// Opening a file with the program the desktop associates with it (documents,
// spreadsheets, law texts).
#pragma once

#include <QString>

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

} // namespace platform
