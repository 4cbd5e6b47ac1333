// Process-wide state of a run: the folders in use, the workstation user and
// whether the administrator has unlocked the program.
//
// The start-up fills it once; every other part reads it. The data folder is
// chosen at start (local, a server folder, or the copy of an opened backup)
// and does not change later in the run. Tests set the fields they need.
#pragma once

#include <QString>

struct Session {
    // Folder of the program file (or the temporary copy of an opened backup).
    QString programFolder;
    // programFolder + "/Data".
    QString localDataFolder;
    // Folder of the tables, "Arv2.set", the templates and the produced documents.
    QString dataFolder;
    // programFolder + "/Temp": scratch space removed at exit.
    QString workFolder;
    // Folder of the machine settings file "GMT.dII".
    QString systemFolder;
    // The engine's private folder "TMP<n>" of this process; empty for none.
    QString enginePrivateFolder;
    // Full path of the backup archive opened from the command line, or empty.
    QString openedBackup;
    // Computer name + " - " + user name, written into the audit log (the
    // platform's own on first use).
    QString workstationUser;
    // True once the administrator password was given in the main window.
    bool administrationUnlocked = false;
};

// The one Session of this process. On first use its folders hold the
// platform defaults under programFolder().
Session &session();

// Resets the session to the platform defaults for `programFolder`
// (Data, Temp below it; system folder from the platform layer).
void resetSession(const QString &programFolder);
