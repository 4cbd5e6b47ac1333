// Operations on whole table files: create, pack, add, drop and widen columns,
// detach a production index.
//
// Every operation that changes an existing table writes the new file beside
// the old one under an exclusive lock, flushes it to disk and renames it into
// place, so that a crash at any moment leaves either the old table or the new
// one, never a mixture. Other processes notice the new file at their next
// statement. All functions throw DbfError, naming the table and the problem,
// and leave the table as it was when they fail.
#pragma once

#include "datastore/dbf/dbfformat.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace dbf {

// Creates an empty table with exactly these fields (names, types C/N/D/F/L,
// widths, decimals). A file of that name (in any case) must not exist; the
// new file takes the spelling of `path`.
void createTable(const QString &path, const QList<Field> &fields);

// The fields of an existing table.
QList<Field> tableFields(const QString &path);

// Removes the rows marked deleted.
void packTable(const QString &path);

// Appends columns (blank in every row). A column that exists already is an
// error, and then nothing is added.
void addColumns(const QString &path, const QList<Field> &fields);

// Removes columns with their data. Naming a column that does not exist, or
// every column, is an error.
void dropColumns(const QString &path, const QStringList &names);

// Gives a text or numeric column a larger width, keeping every value.
void widenColumn(const QString &path, const QString &name, int width);

// Clears the production-index flag (header byte 28) and deletes the ".mdx"
// beside the table, so that the table opens without its index. Does nothing
// when the file cannot be opened.
void DetachProductionIndex(const QString &path);

} // namespace dbf
