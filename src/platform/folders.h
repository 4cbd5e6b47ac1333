// Where the program keeps its files on this platform.
//
// Every folder can be redirected by an environment variable, so that tests
// never touch the real home or system folders:
//   ARVENA3_HOME    program folder (else the executable's folder when writable,
//                   else $XDG_DATA_HOME/Arvena3)
//   ARVENA3_SYSDIR  system folder, home of the machine settings file
//                   (else /var/lib/arvena3; the start-up falls back to
//                   userConfigFolder() when that is not writable)
#pragma once

#include <QString>

namespace platform {

// Folder of the program file, or its redirection; no trailing separator.
QString programFolder();

// Folder shared by the users of this computer for the machine settings.
QString systemFolder();

// The user's own configuration folder ($XDG_CONFIG_HOME/arvena3): the fallback
// system folder when the shared one cannot be written.
QString userConfigFolder();

} // namespace platform
