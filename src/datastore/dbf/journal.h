// The rollback journal of a data folder: what makes a transaction over
// several tables all or nothing, across crashes and across workstations.
//
//     auto journal = FolderJournal::of("/data");
//     journal->beginTransaction();          // the folder's writer lock
//     ... before each statement's writes reach a table:
//     journal->protect(table.path(), table.stagedRows());
//     journal->commit();                    // or rollback()
//
// Before a table changes, the journal file beside the tables receives what
// undoes the change (the table's length and header as they were before its
// first write, the bytes of each record before it is overwritten) and is
// synced to disk. Commit syncs the tables and empties the journal; rollback
// puts the saved bytes back, cuts appended rows off and empties the journal.
//
// The journal file is also the folder's lock: the process in a transaction
// holds it exclusively from beginTransaction() to the end, and every statement
// outside a transaction holds it shared (beginStatement/endStatement), so no
// process ever reads or writes the tables half way through another's
// transaction. A journal that is not empty while nobody holds the exclusive
// lock was left by a writer that is gone: the next process to take the lock
// rolls it back before it reads anything.
//
// Journal file: a magic line, then entries, each a kind byte, a 32-bit payload
// length, the payload and a 64-bit checksum of the three (their layout is
// described beside the code that writes and reads them, in journal.cpp). A
// torn entry ends the journal: the table bytes it was about to protect were
// never written.
//
// Who drives it: sqlstore::Database, and nothing else. Its BEGIN takes the
// writer lock (beginTransaction), each statement's writes are protected before
// they reach a table (protect), and its COMMIT and ROLLBACK end the
// transaction here (commit, rollback). The SQLite module has no transaction
// methods. Database also checks, in one place, that a transaction writes the
// tables of one folder only.
#pragma once

#include "datastore/dbf/filelock.h"

#include <QString>

#include <memory>
#include <vector>

namespace dbf {

// Name of the journal file in a data folder. It only ever holds bytes of an
// unfinished transaction: copies and backups of the folder leave it out.
inline constexpr const char *kJournalFileName = "arvena3.jurnal";

class FolderJournal {
public:
    // The journal of `folder` (one object per folder in the process).
    static std::shared_ptr<FolderJournal> of(const QString &folder);
    // The journal whose transaction runs in this process, or null.
    static FolderJournal *active();
    // Time in milliseconds to wait for another workstation's transaction.
    static void setLockTimeout(int milliseconds);

    ~FolderJournal();
    FolderJournal(const FolderJournal &) = delete;
    FolderJournal &operator=(const FolderJournal &) = delete;

    QString folder() const { return folder_; }

    // A statement outside a transaction: waits for a transaction of another
    // process to end (throws DbfError naming the folder as busy after the lock
    // timeout) and rolls back a journal left by a writer that is gone. Calls
    // nest; inside this process's transaction they do nothing.
    void beginStatement();
    void endStatement();

    // Takes the folder's writer lock (after rolling back a dead writer's
    // journal). Throws DbfError when the folder is busy or cannot be written.
    void beginTransaction();
    bool inTransaction() const { return inTransaction_; }
    // Makes durable what undoes the coming writes to the table at `tablePath`:
    // its rows `rows` (existing rows about to be overwritten) and any appends.
    void protect(const QString &tablePath, const std::vector<quint32> &rows);
    // Syncs the tables written so far.
    void syncTables();
    // Ends the transaction keeping its writes.
    void commit();
    // Ends it undoing them. When the undo itself fails the lock is still
    // released, so that the next statement (of any process) finishes it.
    void rollback();

private:
    explicit FolderJournal(const QString &folder);
    struct Table;
    bool openFile(bool create);
    void lock(LockMode mode);
    void unlock();
    void recoverIfNeeded();
    void rollBackFile();
    void emptyFile();
    void endTransaction();
    Table *tryTableOf(const QString &path);
    Table &tableOf(const QString &path);
    bool journalTable(Table &table, std::vector<char> &entries);
    void append(const std::vector<char> &entries);
    [[noreturn]] void fail(const QString &problem) const;

    QString folder_;
    QString path_;
    // The journal file; closed when a folder that cannot be written has no
    // journal (it needs no lock).
    platform::NativeFile file_;
    int statementDepth_ = 0;
    bool inTransaction_ = false;
    // Bytes written to the journal in this transaction.
    qint64 written_ = 0;
    std::vector<std::unique_ptr<Table>> tables_;
};

// A whole-table operation (pack, new or dropped columns) holds the folder the
// way a statement does, so that it never meets another process's transaction
// half done. Inside this process's own transaction on the folder it is
// refused (throws DbfError): the journal could not undo a rebuilt file.
class FolderStatement {
public:
    explicit FolderStatement(const QString &folder);
    ~FolderStatement();
    FolderStatement(const FolderStatement &) = delete;
    FolderStatement &operator=(const FolderStatement &) = delete;

private:
    std::shared_ptr<FolderJournal> journal_;
};

} // namespace dbf
