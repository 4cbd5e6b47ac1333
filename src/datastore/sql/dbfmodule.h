// The "dbf" virtual-table module: dBASE table files as SQLite tables.
//
//     CREATE VIRTUAL TABLE temp."/data/Cereri.dbf" USING dbf('/data/Cereri.dbf');
//     SELECT NR, DATAC FROM "/data/Cereri.dbf" WHERE ID = ?;
//
// Columns are declared with their dBASE types, so that the declared type of a
// result column tells its field: CHAR(w) (text, collation ROMANIAN), DECIMAL(w,d)
// and FLOAT(w,d) (numbers: whole numbers when d is 0), "DATE TEXT" (ISO text
// YYYY-MM-DD, collation DBFDATE), LOGICAL (1 or 0). A blank value is NULL.
// Rows marked deleted are not seen. The rowid is the record number.
//
// Equality on a column (ID = ?, IDA = ?, NUME = ?) is answered from an index of
// that column kept by the file layer, so joins on ids and lookups by id do not
// read the whole table. SQLite checks every condition again on the rows we
// give it, so the index only has to find at least the matching rows.
//
// Writes are staged in the file layer and reach the file when the statement
// succeeds (the caller commits them, see database.cpp). Values are stored as
// the field's type demands: text is cut to the field's width, numbers take the
// field's decimals (fewer when the value is whole and would not fit otherwise),
// dates are accepted as ISO text or "dd.MM.yyyy"; a value that cannot be stored
// fails the statement with a message naming the table, the field and the value.
//
// Locks are not taken here: the statement's caller holds them on every table
// the statement names for its whole duration (see database.cpp). Inside a
// transaction the hooks work on the folder's journal: xBegin refuses a table
// of another folder, xSync commits (syncs the tables, empties the journal),
// xRollback puts the tables back as they were at BEGIN.
#pragma once

#include <sqlite3.h>

#include <QString>

namespace sqlstore {

// Registers the module under the name "dbf".
int registerDbfModule(sqlite3 *db);

// The declared SQL type of a dBASE field (see above).
QString declaredType(char type, int width, int decimals);

// Parses a declared type back into type letter, width and decimals. Returns
// false for types that do not come from a dBASE field.
bool parseDeclaredType(const char *declared, char *type, int *width, int *decimals);

} // namespace sqlstore
