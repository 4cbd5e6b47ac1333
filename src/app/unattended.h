// The unattended run ("-t"): the expired-terms report of the data folder,
// produced without any window, for a scheduled job.
//
// A scheduled job cannot see a message box, so this run speaks through its
// exit status and its standard streams: on success the report's path goes to
// standard output (the report is also opened, when the desktop can), and the
// status is 0; otherwise the reason goes to standard error and the status
// says which step stopped it.
#pragma once

#include <QTextStream>

enum UnattendedExit : int {
    UnattendedDone = 0,
    // The local data folder does not exist.
    UnattendedNoDataFolder = 2,
    // The shared folder named in the machine settings is missing tables.
    UnattendedIncompleteServer = 3,
    // The tables or the settings could not be read.
    UnattendedDataError = 4,
    // The report could not be written.
    UnattendedReportError = 5,
};

// True when there is a desktop to open the report on (a display, or the
// opener named by ARVENA3_OPEN). A scheduled job has none: a desktop opener
// started there would only complain on standard error.
bool DesktopCanShowReport();

// Runs the report once the first folders of the run are prepared
// (PrepareRunFolders); returns the exit status of the process.
int RunUnattendedReport(QTextStream &out, QTextStream &err);
