// The backup file type on the desktop: archives ".av3" open with the program.
//
// On this platform the type is an XDG MIME type ("application/x-arvena3-
// backup", glob "*.av3") and a desktop entry that handles it, with the
// program's icon, all in the user's data folder ($XDG_DATA_HOME, else
// ~/.local/share); the desktop's caches are refreshed when their tools are
// installed. A Windows build writes the same under the classes root instead.
#pragma once

#include <QString>

namespace backup {

// The MIME type of backup archives.
inline constexpr const char *kBackupMimeType = "application/x-arvena3-backup";

// Registers the type for the program file `program` (its full path). Files
// that already say the same are left alone, so a start that changes nothing
// writes nothing. Returns false when a file could not be written; the
// program carries on either way.
bool RegisterBackupType(const QString &program);

} // namespace backup
