// Next-number counters of a database and its register numbering.
//
// The counters live only in section "INDEX" of the settings file (ID, IDV,
// IDP, IDC, IDA, IDLOG for row ids; NR and NR2 for register numbers); nothing
// is cached, so a restored or shared database always brings its own values.
// A missing or zero counter counts as 1.
//
// Taking a value is one step for all workstations of a shared folder: the
// read and the write of the next value happen under the settings file's
// exclusive lock, so no two processes ever receive the same value.
#pragma once

#include <QString>

// Returns the counter's value as whole-number text ("17") and stores the next
// one. Throws SettingsError when the settings file cannot be written; no value
// is handed out then.
QString TakeNextNumber(const QString &key);

// The counter's value as whole-number text, without changing it.
QString PeekNextNumber(const QString &key);

// Stores `scaled` (fixed point x10000) as the counter's next value.
// Throws SettingsError when the settings file cannot be written.
void SetNextNumber(const QString &key, qint64 scaled);

// Numbering type of the register from "CONST"/"NumTip": 2 ("by request")
// when the value reads as 2 or more, otherwise 1 ("individual").
int NumberingType();

// Start-up step: sets ID, IDC, IDP, IDA and IDLOG to one more than the largest
// value of their column (1 for an empty table), so that the counters of a
// restored or copied database fit its tables. IDV is left alone.
// Throws sqlstore::SqlError or SettingsError.
void RecountNextIds();

// After a request, communication or act is deleted: NR := one more than the
// largest NR of the acts dated after 1 January of the current year (1 when
// there is none). Throws sqlstore::SqlError or SettingsError.
void NextActNumber();
