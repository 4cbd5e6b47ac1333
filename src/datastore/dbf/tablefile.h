// One open dBASE table file, shared by everything in the process that uses it.
//
// Usage, for one statement:
//     auto table = TableFile::open("/data/Cereri.dbf");   // throws DbfError
//     table->begin(LockMode::Shared);                      // lock, re-read header
//     for (quint32 row = 0; row < table->rowCount(); ++row) { Record r = table->record(row); ... }
//     table->end();                                         // unlock
//
// Every begin() re-reads the header under the lock, so that a statement sees
// all that other processes wrote before it started. What the process learned
// of the file (blocks of records, indexes of columns) is kept between
// statements only while the file's identity, size, time, record count and
// change counter are all unchanged. Writes go straight to the file: records
// first, then the header that counts them, so a process killed at any moment
// leaves a table that every dBASE reader opens.
//
// Tables are found without regard to the case of their file name; one object
// (one descriptor, one set of locks) serves each file in the process.
#pragma once

#include "datastore/dbf/dbfformat.h"
#include "datastore/dbf/filelock.h"

#include <QString>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace dbf {

// A stretch of consecutive records read from the file.
struct RecordBlock {
    // Row number of the first record held.
    quint32 firstRow = 0;
    // Number of records held.
    quint32 rows = 0;
    // The records' bytes.
    std::vector<char> bytes;
};

// One record: its bytes stay valid as long as the object lives.
struct Record {
    // Keeps the bytes alive.
    std::shared_ptr<const RecordBlock> block;
    // First byte of the record (the deletion flag).
    const char *data = nullptr;
    bool deleted() const { return data[0] == '*'; }
};

class TableFile {
public:
    // The table of `path` (its file name matched without regard to case).
    // Throws DbfError naming the table when the file does not exist or cannot
    // be opened; the header is read and checked by the first begin().
    static std::shared_ptr<TableFile> open(const QString &path);

    // Drops the process's object of `path`, if any, once nobody uses it
    // (after the file was deleted or replaced by a file operation).
    static void forget(const QString &path);

    ~TableFile();
    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    // The path of the file, as found on disk.
    QString path() const { return path_; }

    // Starts a statement: takes `mode` (nested calls keep the strongest mode
    // already held) and re-reads the header. Throws DbfError when the lock
    // cannot be had or the header is not sound.
    void begin(LockMode mode);
    // Ends it: writes the header of a table that was written to, and releases
    // the lock when the outermost begin() ends. Staged writes not committed by
    // then are dropped.
    void end();
    // The mode held now.
    LockMode lockMode() const { return mode_; }

    const Header &header() const { return header_; }
    const QList<Field> &fields() const { return header_.fields; }
    // Index of the field named `name` (without regard to case), or -1.
    int fieldIndex(const QString &name) const;
    // Records in the file, deleted ones included.
    quint32 rowCount() const { return header_.recordCount; }
    // Bumped whenever the fields of the table change, so that users of the
    // layout know to look again.
    quint64 layoutVersion() const { return layoutVersion_; }

    // The record of `row` (below rowCount()). Throws DbfError when it cannot
    // be read.
    Record record(quint32 row);

    // Writes of a statement are staged in memory and reach the file only when
    // the statement succeeds (commitStaged), so that a statement refused half
    // way (a value that does not fit) leaves the table as it was. Staging
    // needs an exclusive begin(); `bytes` is always a whole record.
    void stageWrite(quint32 row, const char *bytes);
    // Stages a new record and returns the row it will take.
    quint32 stageAppend(const char *bytes);
    // The staged bytes of `row`, or null when it has none.
    const char *stagedRecord(quint32 row) const;
    // Existing rows (below rowCount()) that the staged writes will change.
    std::vector<quint32> stagedRows() const;
    // Whether anything is staged.
    bool hasStaged() const { return !stagedWrites_.empty() || !stagedAppends_.empty(); }
    // Writes what was staged: new records first, then changed ones, then the
    // header that counts them.
    void commitStaged();
    // Forgets what was staged.
    void discardStaged();

    // Immediate writes (used by commitStaged).
    void writeRecord(quint32 row, const char *bytes);
    // Appends a record and returns its row.
    quint32 appendRecord(const char *bytes);
    // Marks a row deleted (it stays in the file until the table is packed).
    void deleteRecord(quint32 row);

    // Rows whose field `column` holds `key`: the bytes of a text value without
    // trailing blanks, or a number. Deleted rows may be among them. The index
    // behind this is built on first use and kept while the file is unchanged.
    const std::vector<quint32> &rowsWithText(int column, const std::string &key);
    const std::vector<quint32> &rowsWithNumber(int column, double key);
    // Rows of a numeric column whose value lies between the bounds (a bound
    // that is not given is open), in file order.
    struct Bound {
        bool given = false;
        double value = 0;
        bool inclusive = true;
    };
    std::vector<quint32> rowsInRange(int column, const Bound &low, const Bound &high);

    // Time in milliseconds a statement waits for another process's lock.
    static void setLockTimeout(int milliseconds);

private:
    explicit TableFile(const QString &path);
    void openDescriptor();
    void refresh();
    void invalidate();
    void readWholeHeader();
    void markWritten();
    void writeHeader();
    [[noreturn]] void fail(const QString &problem) const;
    void dropIndexesTouched(quint32 row, const char *newBytes);

    struct ColumnIndex;
    ColumnIndex &indexOf(int column);

    // Path as found on disk.
    QString path_;
    // The open file.
    platform::NativeFile file_;
    // Lock held, and how many begin() calls are open.
    LockMode mode_ = LockMode::None;
    int depth_ = 0;
    // The header as last read.
    Header header_;
    // What identified the file's state when the caches were filled.
    struct State {
        platform::FileIdentity identity;
        qint64 size = -1, mtimeNs = 0;
        HeaderStart start;
        bool operator==(const State &) const = default;
    } state_;
    // Raw bytes of the header as last read, to notice changed fields.
    QByteArray headerBytes_;
    quint64 layoutVersion_ = 0;
    // Records per block and the blocks read, by block number.
    quint32 blockRows_ = 1;
    std::unordered_map<quint32, std::shared_ptr<RecordBlock>> blocks_;
    size_t cachedBytes_ = 0;
    // Indexes by column.
    std::unordered_map<int, std::unique_ptr<ColumnIndex>> indexes_;
    // The statement in progress wrote to the file.
    bool written_ = false;
    // Staged changes: whole records by row, and new records in order.
    std::unordered_map<quint32, std::vector<char>> stagedWrites_;
    std::vector<char> stagedAppends_;
};

} // namespace dbf
