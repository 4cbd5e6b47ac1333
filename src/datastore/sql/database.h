// The process's one SQL connection over the dBASE tables of the data folder.
//
//     using namespace sqlstore;
//     const QString cereri = dir + "/Cereri.dbf";
//     database().exec("UPDATE " + quoteName(cereri) + " SET STARE=? WHERE ID=?", {4, id});
//     Query q = database().query("SELECT NR, DATAC FROM " + quoteName(cereri) + " ORDER BY DATAC, NR");
//     for (q.first(); !q.eof(); q.next())
//         use(q.value("NR").toLongLong(), q.value("DATAC").toDate());
//
// Statements are SQLite's dialect. A table is named by the full path of its
// file in double quotes; the file name is matched without regard to case and
// the table is attached on first use. Values travel as bound parameters ("?"):
// QString text, numbers, QDate (stored in DATE fields), a null QVariant for
// NULL. Inside SQL a date is ISO text 'YYYY-MM-DD' ("dd.MM.yyyy" text is
// understood too); a blank field is NULL; a blank operand of || is empty text;
// text sorts in Romanian order without regard to case.
//
// CREATE TABLE, ALTER TABLE ... ADD/DROP and DROP TABLE naming a table file run
// in the file layer, with the field types CHAR(w), DECIMAL(w,d), DATE (and
// FLOAT(w,d), LOGICAL).
//
// Every statement locks each table it names for its whole duration: a shared
// lock on the tables it reads and an exclusive lock on the one it writes; it
// sees everything other processes wrote before it started. A statement that
// fails changes nothing. Every failure throws SqlError; message() names the
// table and the problem.
//
// An operation that writes several tables runs as a transaction, so that it
// reaches the tables whole or not at all, even when the process or the
// machine stops half way:
//
//     Transaction operation;                 // BEGIN
//     database().exec("INSERT INTO " + quoteName(cereri) + " ...", {...});
//     database().exec("INSERT INTO " + quoteName(alteActe) + " ...", {...});
//     operation.commit();                    // COMMIT; ROLLBACK when left early
//
// The statements BEGIN, COMMIT (or END) and ROLLBACK do the same by hand. The
// tables a transaction writes must all be in one data folder (it may read
// tables elsewhere); from its first write, or from BEGIN when the folder is
// given to Transaction, to its end the process is the folder's only writer,
// and other processes wait for it (then report the folder as busy). A
// statement that fails inside a transaction rolls the whole transaction back
// and throws its own error. See datastore/dbf/journal.h for how a crash is
// undone.
//
// Not thread-safe: use it from the user-interface thread, as everything is.
#pragma once

#include "datastore/sql/sqlerror.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace dbf {
class FolderJournal;
}

namespace sqlstore {

class Database;
struct Token;
struct FileStatement;

// What a result column is: the field it comes from, when it comes straight
// from a table column, else only its name.
struct FieldInfo {
    // Column name without table prefix ("NR" for A.NR); a repeated name gets
    // "_1", "_2" ... as the old engine named them.
    QString name;
    // 'C' text, 'N' decimal, 'D' date, 'F' float, 'L' logical; 0 when the
    // column is computed.
    char type = 0;
    // Width and decimals of the field (0 when computed).
    int width = 0;
    int decimals = 0;
};

// The rows of a SELECT, read at once (the locks are released when the query
// returns) and kept compactly. Values are typed: QString text, qlonglong for
// whole numbers, double, QDate for date fields, a null QVariant for NULL.
// A filter narrows the visible rows without reading the tables again; the
// positioning functions and rowCount() see the visible rows only.
class Query {
public:
    Query();
    ~Query();
    Query(Query &&) noexcept;
    Query &operator=(Query &&) noexcept;

    // Columns.
    int columnCount() const;
    const FieldInfo &field(int column) const;
    // Index of a column by name, without regard to case; -1 when none.
    int fieldIndex(const QString &name) const;

    // Rows (visible ones) and the current position, from 0; position() is
    // rowCount() past the end.
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }
    int position() const { return position_; }
    // Each returns whether the new position is a row.
    bool first();
    bool next();
    bool previous();
    bool last();
    bool seek(int row);
    bool eof() const { return position_ >= rowCount(); }
    bool bof() const { return position_ <= 0; }

    // Values of the current row. value(name) throws SqlError when the query
    // has no such column.
    QVariant value(int column) const;
    QVariant value(const QString &name) const;
    // A value of any visible row.
    QVariant valueAt(int row, int column) const;

    // Moves to the first visible row whose `column` equals `value` (numbers
    // compared as numbers, text without trailing blanks); false, position
    // unchanged, when there is none.
    bool locate(const QString &column, const QVariant &value);

    // Runs the statement again with the same parameters, keeping the filter;
    // the position goes to the first row. Throws SqlError.
    void requery();

    // Shows only the rows for which `accept` is true (it receives the query
    // positioned on the row to judge); an empty function shows every row.
    void setFilter(std::function<bool(const Query &)> accept);
    // Shows only the rows whose `column` equals `value`, as locate() compares.
    void setFilter(const QString &column, const QVariant &value);
    void clearFilter() { setFilter(std::function<bool(const Query &)>()); }

private:
    friend class Database;
    struct Rows;
    void refilter();
    QVariant decode(int storedRow, int column) const;

    // The statement and its parameters, for requery().
    QString sql_;
    QVariantList parameters_;
    // Columns and rows as read.
    QList<FieldInfo> fields_;
    std::unique_ptr<Rows> rows_;
    // Stored row of every visible row.
    std::vector<int> visible_;
    std::function<bool(const Query &)> filter_;
    int position_ = 0;
    // Row being judged by the filter (stored row), or -1.
    int judged_ = -1;
};

class Database {
public:
    // Runs a statement that returns no rows.
    void exec(const QString &sql, const QVariantList &parameters = {});
    // Same, and returns how many rows it inserted, changed or deleted.
    int execCount(const QString &sql, const QVariantList &parameters = {});
    // Runs a SELECT and returns its rows, positioned on the first.
    Query query(const QString &sql, const QVariantList &parameters = {});
    // The first column of the first row, or a null QVariant when no row.
    QVariant scalar(const QString &sql, const QVariantList &parameters = {});

    // When set, a bare name (Cereri) names the table file of that name in
    // this folder, and relative paths start there. For the console tool.
    void setTableFolder(const QString &folder);

    // How long a statement waits for another process's lock (or for another
    // process's transaction) before it fails.
    void setLockTimeout(int milliseconds);

    // Whether a transaction (BEGIN) is open.
    bool inTransaction() const { return transactionOpen_; }

    // The SQLite connection, for the rare caller that needs it directly.
    sqlite3 *handle() const { return db_; }

    ~Database();

private:
    friend Database &database();
    friend class Transaction;
    Database();
    struct Attached;
    int run(const QString &sql, const QVariantList &parameters, Query *result);
    int runStatement(const QList<Token> &tokens, const QString &sql, const QVariantList &parameters, Query *result);
    void runFileStatement(const FileStatement &statement, const QString &sql);
    int runSqlStatement(const QList<Token> &tokens, const QString &sql, const QVariantList &parameters,
                        Query *result);
    void runTransactionCommand(const QString &keyword, const QList<Token> &tokens, const QString &sql);
    void joinTransaction(const QString &folder);
    void commitTransaction();
    void rollbackTransaction();
    void forgetAttachedTables();
    void attach(const QString &name, const QString &path);
    void detachAll(const QString &path);
    [[noreturn]] void fail(const QString &context) const;

    sqlite3 *db_ = nullptr;
    QString tableFolder_;
    std::vector<std::unique_ptr<Attached>> attached_;
    // The open transaction, and the journal of its folder once a statement
    // (or the table folder) named it.
    bool transactionOpen_ = false;
    std::shared_ptr<dbf::FolderJournal> journal_;
};

// The connection of the process, opened on first use.
Database &database();

// The statements run between its creation (BEGIN) and commit() form one
// transaction; when it goes away without commit() (an exception left the
// operation) the transaction is rolled back.
class Transaction {
public:
    // With `dataFolder`, the folder is held from here on, so that what the
    // operation reads before its first write cannot change under it.
    explicit Transaction(const QString &dataFolder = QString());
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    // COMMIT. Throws SqlError (the transaction is then rolled back).
    void commit();

private:
    bool open_ = true;
};

} // namespace sqlstore
