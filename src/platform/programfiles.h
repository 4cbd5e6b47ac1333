// Names of the programs that share the program folder with the main program,
// as this platform spells them. Every part that looks for one of them uses
// these names.
#pragma once

#include <QtGlobal>

namespace platform {

// The installer of a newer version, downloaded by the updater into the
// program folder and started by the next start of the main program.
#ifdef Q_OS_WIN
inline constexpr char kInstallerFileName[] = "UpArv3.exe";
#else
inline constexpr char kInstallerFileName[] = "UpArv3";
#endif

} // namespace platform
