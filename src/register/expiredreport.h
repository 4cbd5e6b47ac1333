// The expired-terms report: one line for every open request whose waiting
// term has passed, written from the template "RapExpirate" for the clerk to
// see which files need the next step. It writes nothing to the tables.
#pragma once

#include "register/deadlines.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The text of the report when no term has expired.
inline constexpr const char *kNoExpiredRequests = "Niciunei Cereri nu i-a expirat termenul!";

// The report's lines for the requests of the data folder, in the order of their
// date and register number: "Nr.<number> din <dd.MM.yyyy> - <first seller>"
// for each open request past the term of its stage on `today`. Throws
// SqlError when a table cannot be read.
QStringList ExpiredRequestLines(const DeadlineTerms &terms, bool perRequestNumbering, const QDate &today);

// Writes the report for `today` into a new "Raport<n>.rtf" of the program
// folder and returns its path; empty, with the reason in `error`, when the
// template or the document cannot be written.
QString WriteExpiredTermsReport(const QStringList &lines, const QDate &today, QString *error);
