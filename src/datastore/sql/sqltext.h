// What the engine needs to know of a statement's text before SQLite sees it:
// its tokens, the tables it names, whether it writes, and the statements that
// run in the file layer (CREATE TABLE, ALTER TABLE, DROP TABLE on a path).
//
// It also brings two habits of the old engine's SQL to SQLite:
//   - a blank (NULL) operand of || counts as empty text ('loc.' || LOC keeps
//     'loc.' when LOC is blank): every operand of || is wrapped in
//     ifnull(operand, '');
//   - x IN (...) is false, never NULL, when x is not in the list, even when
//     the list holds a NULL: NOT (NUME IN (SELECT ...)) keeps the holder
//     whose name is not among the buyers although a buyer's name is blank.
#pragma once

#include "datastore/dbf/dbfformat.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace sqlstore {

struct Token {
    enum Kind { Word, QuotedName, String, Number, Parameter, Symbol, Space };
    // What the token is.
    Kind kind = Space;
    // Its text as written, quotes included.
    QString text;
    // For words and quoted names: the name without quotes.
    QString name;
};

// `name` as a statement names a table or a column: between double quotes,
// a double quote inside doubled. The one way every statement builder names a
// table file by its path.
QString quoteName(const QString &name);

// Splits a statement into tokens (comments and blanks become Space tokens).
QList<Token> tokenize(const QString &sql);

// Joins tokens back into text.
QString joinTokens(const QList<Token> &tokens);

// A table the statement names.
struct TableReference {
    // The name as SQLite will see it (the path, or a bare name).
    QString name;
    // The file it stands for.
    QString path;
    // The statement writes to it.
    bool written = false;
};

// The tables named by a statement: every quoted name that ends in ".dbf"
// (a file path), and, when `bareFolder` is not empty, every name for which
// that folder holds a table file "<name>.dbf" (found without regard to case).
// A relative path is taken from `bareFolder` (or the current folder).
QList<TableReference> tablesOf(const QList<Token> &tokens, const QString &bareFolder);

// The statements of a script separated by ";" (a ";" inside quotes or a
// comment does not separate), each trimmed; empty ones are left out.
QStringList splitStatements(const QString &script);

// The first keyword of the statement, upper case ("SELECT", "INSERT", ...).
QString leadingKeyword(const QList<Token> &tokens);

// A statement the file layer runs instead of SQLite.
struct FileStatement {
    enum Kind { None, CreateTable, AlterTable, DropTable };
    Kind kind = None;
    // Table file named.
    QString path;
    // CREATE TABLE: the fields; ALTER TABLE: the fields added.
    QList<dbf::Field> fields;
    // ALTER TABLE: the fields dropped.
    QStringList dropped;
};

// Recognises CREATE TABLE, ALTER TABLE ... ADD/DROP and DROP TABLE naming a
// table file. Returns kind None for every other statement; throws SqlError
// for one of these three that cannot be understood.
FileStatement fileStatementOf(const QList<Token> &tokens, const QString &bareFolder);

// Applies the two habits described above.
QList<Token> adaptToOldEngine(const QList<Token> &tokens);

} // namespace sqlstore
