// The database engine's private folder of this running copy: "TMP<n>" in the
// program folder, the first one that no other running copy uses.
#pragma once

#include <QString>

namespace platform {

// Chooses, empties and creates program folder + "/TMP<n>" (n = 0 … 99): a
// folder that does not exist, or one that can be deleted because no running
// copy uses it. The chosen folder is claimed for this process until it ends.
// Returns empty when all hundred are in use (the engine then works without a
// private folder).
QString choosePrivateFolder(const QString &programFolder);

// Removes `folder` with all its content. Refuses, deleting nothing, when
// another running copy uses the folder or anything in it, or another program
// holds one of its files open.
bool removeFolderTree(const QString &folder);

// True when another program holds the file open: another process locks it,
// another running copy marked it as its own, or the office suite's lock file
// ".~lock.<name>#" stands beside it.
bool fileHeldOpen(const QString &path);

} // namespace platform
