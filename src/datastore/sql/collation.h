// How text and dates compare inside SQL.
//
// ROMANIAN, the collation of every text column: words sort as a Romanian
// reader expects (a, ă, â, b, ..., i, î, ..., s, ș, t, ț, ...) and without
// regard to case; ș and ş (comma below, cedilla) are the same letter. Two
// texts are equal only when they are the same text once trailing blanks are
// dropped, so `NUME = 'POP ANA'` matches a blank-padded field while 'Pop' and
// 'POP' stay two values for DISTINCT and GROUP BY (sorted next to each other).
//
// DBFDATE, the collation of date columns: dates are ISO text (YYYY-MM-DD)
// inside SQL; a date written "dd.MM.yyyy" in a statement is compared as the
// date it names, so `DATAA > '01.01.2024'` means what it says.
#pragma once

#include <sqlite3.h>

#include <QString>

namespace sqlstore {

// Registers ROMANIAN and DBFDATE, and Unicode-aware upper() and lower().
void registerCollations(sqlite3 *db);

// The ROMANIAN order of two texts: negative, zero or positive.
int compareRomanian(const QString &a, const QString &b);

// A key whose byte order is the ROMANIAN order of the texts: sorting many
// texts by their keys costs one pass over each text instead of one per
// comparison.
QByteArray romanianSortKey(const QString &text);

} // namespace sqlstore
