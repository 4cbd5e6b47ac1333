// Working days for the legal deadlines of a procedure, and the day serials
// the program stores dates as.
//
// A day serial counts days from 30.12.1899 (day 0, a Saturday). Saturdays and
// Sundays never count as working days. Public holidays:
//   - before 30.11.2020: none (only weekends are counted);
//   - 30.11.2020 to 31.12.2025: the fixed table the register has always used;
//   - from 1.1.2026: the legal holidays of Romania, computed for each year
//     (the Orthodox Easter dates included), plus the extra days off that an
//     administrator lists in section "SARBATORI" of the settings file, one key
//     per date written dd.MM.yyyy (the value is a free description), so that
//     every workstation of a shared folder counts the same deadlines.
//
//   int due = AddWorkingDays(ToDaySerial(requestDate), 47);
#pragma once

#include <QDate>
#include <QDateTime>
#include <QSet>

QDate DaySerialEpoch();
int ToDaySerial(const QDate &date);
QDate FromDaySerial(int serial);

// Number of whole weeks from day 0 to the moment; it changes at midnight at
// the start of each Saturday. Used to pack the tables once a week.
qint64 WeekNumber(const QDateTime &moment);
qint64 CurrentWeekNumber();

// Extra days off listed in "SARBATORI" of the current settings file, as day
// serials; keys that are not dates (dd.MM.yyyy, or d.M.yyyy) are ignored. The file is read
// again only when it has changed since the last call.
QSet<int> ExtraHolidays();

// The Orthodox Easter Sunday of `year` as a Gregorian date (valid 1900-2099).
QDate OrthodoxEaster(int year);

// False for a Saturday, a Sunday or a public holiday (above), true otherwise.
// These use the extra days off of the current settings file.
bool IsWorkingDay(int serial);
// The day reached after `count` working days counted from the day after
// `serial`; `serial` itself when count <= 0.
int AddWorkingDays(int serial, int count);
// `serial` when it is a working day, else the first working day after it.
int FirstWorkingDayFrom(int serial);

// The same with the extra days off given by the caller (no file is read).
bool IsWorkingDay(int serial, const QSet<int> &extraHolidays);
int AddWorkingDays(int serial, int count, const QSet<int> &extraHolidays);
int FirstWorkingDayFrom(int serial, const QSet<int> &extraHolidays);
