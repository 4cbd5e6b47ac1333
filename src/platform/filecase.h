// Finding files the way Windows does: without regard to case.
//
// Data folders copied from a Windows server hold "ARV2.SET", "CERERI.DBF" or
// "Log.DBF"; templates are named "Anexa_5PF.rtf" in one place and
// "ANEXA_5PF.rtf" in another. Every part that opens a file by name goes
// through these functions.
#pragma once

#include <QString>

namespace platform {

// The path of the existing entry of `folder` whose name equals `name` without
// regard to case (an exact match wins over the others). When none exists,
// returns folder + "/" + name, so that a new file takes the caller's spelling.
QString findFileNoCase(const QString &folder, const QString &name);

// Same for a full path: the last component is matched without regard to case
// inside its folder (the folder itself is taken as written).
QString resolvePathNoCase(const QString &path);

// True when an entry named `name` exists in `folder`, whatever its case.
bool existsNoCase(const QString &folder, const QString &name);

} // namespace platform
