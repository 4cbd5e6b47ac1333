// The audit log: one row of table Log per change, with date, time, what was
// done and the workstation that did it.
#pragma once

#include <QString>

// Appends one row: IDLOG from its counter, today, the time as "HH:mm:ss",
// `action` and the workstation user (the table keeps 120 and 16 characters
// of them). Throws sqlstore::SqlError when the table cannot be written, or
// SettingsError when the counter cannot be taken.
void LogAction(const QString &action);

// Start-up step: when the log holds 1000 rows or more, deletes those whose
// IDLOG is below the last row's IDLOG minus 1000, so about the newest 1000
// stay. The rows stay in the file, marked deleted, until the weekly pack.
// Throws sqlstore::SqlError.
void TrimLog();
