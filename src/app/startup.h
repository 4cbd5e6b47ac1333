// The start-up of the program: what runs before any window but the start
// window, from the fixed formats to the main window and the final clean-up.
#pragma once

#include <QString>

// Fixes the number and date formats for the whole run: "." as the decimal and
// date separator, "dd.MM.yyyy" as the short date, whatever the desktop's
// regional settings say.
void ApplyFixedFormats();

// The first folders of a run: the workstation user (administration locked),
// the system folder, the program folder with its "Data" and "Temp" (the work
// folder is created), and the engine private folder "TMP<n>" of this copy.
// Fills session(); the data folder is the local one until the start-up
// chooses otherwise.
void PrepareRunFolders();

// Keeps the system folder when its machine settings file "GMT.dII" can be
// written (a test key of section "TESTUS" is written and erased), else moves
// to the user's own configuration folder.
void ChooseWritableSystemFolder();

// True when the first command-line argument asks for the unattended
// expired-terms report ("-t" after trimming blanks, exact and lower case).
bool IsUnattendedReportArgument(const QString &firstArgument);
