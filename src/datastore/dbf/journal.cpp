#include "datastore/dbf/journal.h"

#include "platform/filecase.h"
#include "datastore/dbf/dbfformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace dbf {
namespace {

// The journal file starts with this line.
constexpr char kMagic[8] = {'A', 'R', 'V', 'J', 'R', 'N', '1', '\n'};
// Entry kinds. Every number is little-endian (the byte order of the machines
// the program runs on), written and read by put() and get().
//
// Table entry 'T', one per table, written before the table's first change:
//     quint16  table id (its place in the transaction's list)
//     qint64   length of the table file before the transaction
//     32 bytes the table's header as it was (its first 32 bytes)
//     quint32  n, length of the tail
//     n bytes  the file's bytes after its last record (the end-of-file mark
//              that an append overwrites)
//     rest     the table's file name, UTF-8
// Record entry 'R', one per existing row before its first overwrite:
//     quint16  table id, of a table entry before it
//     quint32  row number, from 0
//     rest     the record's bytes as they were (record length bytes)
constexpr char kTableEntry = 'T';
constexpr char kRecordEntry = 'R';
constexpr int kHeaderBytes = 32;
// Bytes of an entry around its payload: kind, length, checksum.
constexpr size_t kEntryOverhead = 1 + 4 + 8;

int lockTimeoutMs = 20000;
FolderJournal *activeJournal = nullptr;

QString canonicalFolder(const QString &folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

quint64 checksum(const char *bytes, size_t length, quint64 hash = 0xcbf29ce484222325ull)
{
    for (size_t i = 0; i < length; ++i) {
        hash ^= quint8(bytes[i]);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

template <typename T> void put(std::vector<char> &out, T value)
{
    const char *p = reinterpret_cast<const char *>(&value);
    out.insert(out.end(), p, p + sizeof value);
}

template <typename T> T get(const char *p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

void putEntry(std::vector<char> &out, char kind, const std::vector<char> &payload)
{
    const size_t start = out.size();
    out.push_back(kind);
    put<quint32>(out, quint32(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    put<quint64>(out, checksum(out.data() + start, out.size() - start));
}

// What the journal says of one table, gathered for a rollback.
struct SavedTable {
    QString name;
    qint64 length = 0;
    QByteArray header;
    QByteArray tail;
    // Record bytes by row; the first saved bytes of a row win.
    std::map<quint32, QByteArray> records;
};

// Reads the entries of a journal; stops at the first torn or damaged one.
std::unordered_map<quint16, SavedTable> parseJournal(const QByteArray &bytes)
{
    std::unordered_map<quint16, SavedTable> tables;
    if (bytes.size() < qsizetype(sizeof kMagic) || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return tables;
    size_t at = sizeof kMagic;
    const size_t size = size_t(bytes.size());
    const char *data = bytes.constData();
    while (at + kEntryOverhead <= size) {
        const char kind = data[at];
        const quint32 length = get<quint32>(data + at + 1);
        if (length > size - at - kEntryOverhead)
            break;
        const char *payload = data + at + 5;
        if (get<quint64>(payload + length) != checksum(data + at, 5 + size_t(length)))
            break;
        at += kEntryOverhead + length;
        if (kind == kTableEntry && length >= 2 + 8 + kHeaderBytes + 4) {
            SavedTable &t = tables[get<quint16>(payload)];
            t.length = get<qint64>(payload + 2);
            t.header = QByteArray(payload + 10, kHeaderBytes);
            const quint32 tailLength = get<quint32>(payload + 10 + kHeaderBytes);
            const size_t nameAt = 10 + kHeaderBytes + 4 + size_t(tailLength);
            if (nameAt > length)
                break;
            t.tail = QByteArray(payload + 14 + kHeaderBytes, qsizetype(tailLength));
            t.name = QString::fromUtf8(payload + nameAt, qsizetype(length - nameAt));
        } else if (kind == kRecordEntry && length > 6) {
            const auto it = tables.find(get<quint16>(payload));
            if (it == tables.end())
                break;
            it->second.records.try_emplace(get<quint32>(payload + 2), QByteArray(payload + 6, qsizetype(length - 6)));
        } else {
            break;
        }
    }
    return tables;
}

// Puts one table back as the journal saved it. The header goes first, so that
// at every moment the header counts no more records than the file holds.
void restoreTable(const QString &folder, const SavedTable &saved)
{
    const QString path = platform::findFileNoCase(folder, saved.name);
    auto fail = [&](const QString &why) {
        throw DbfError(QStringLiteral("Tabela %1 nu poate fi readusa la starea de dinaintea operatiei neterminate (%2)")
                           .arg(QDir::toNativeSeparators(path), why));
    };
    platform::NativeFile file;
    if (!file.open(path, platform::NativeFile::ReadWrite)) {
        if (file.problem() == platform::NativeFile::NotFound)
            return; // the table was deleted since: nothing to put back
        fail(file.errorString());
    }
    // Closing the file at the end releases the lock.
    QString why;
    if (!lockFile(file, LockMode::Exclusive, lockTimeoutMs, &why))
        fail(why);
    char current[kHeaderBytes];
    if (!file.readAt(0, current, kHeaderBytes))
        fail(QStringLiteral("antetul nu poate fi citit"));
    const char *header = saved.header.constData();
    // A table of another layout replaced the one journaled (a restore from a
    // backup): its bytes are not ours to change.
    const HeaderStart now = readHeaderStart(current);
    const HeaderStart before = readHeaderStart(header);
    if (now.headerLength != before.headerLength || now.recordLength != before.recordLength)
        return;
    if (saved.records.empty() && file.size() == saved.length
        && std::memcmp(current, header, kProductionIndexOffset) == 0
        && std::memcmp(current + kProductionIndexOffset + 1, header + kProductionIndexOffset + 1,
                       kHeaderBytes - kProductionIndexOffset - 1)
               == 0) {
        return; // journaled with the others but never written
    }
    QByteArray restored = saved.header;
    // The index file beside the table was deleted when the table was first
    // written; it must stay untrusted.
    restored[kProductionIndexOffset] = current[kProductionIndexOffset];
    const qint64 headerLength = before.headerLength;
    const qint64 recordLength = before.recordLength;
    const qint64 dataEnd = qMin<qint64>(headerLength + qint64(before.recordCount) * recordLength, saved.length);
    if (!file.writeAt(0, restored.constData(), kHeaderBytes)
        || !file.writeAt(dataEnd, saved.tail.constData(), saved.tail.size()))
        fail(file.errorString());
    for (const auto &[row, bytes] : saved.records) {
        if (bytes.size() != recordLength)
            continue;
        if (!file.writeAt(headerLength + qint64(row) * recordLength, bytes.constData(), bytes.size()))
            fail(file.errorString());
    }
    if (!file.truncate(saved.length) || !file.syncAll())
        fail(file.errorString());
}

std::unordered_map<QString, std::weak_ptr<FolderJournal>> &registry()
{
    static std::unordered_map<QString, std::weak_ptr<FolderJournal>> journals;
    return journals;
}

} // namespace

// A table written in the transaction.
struct FolderJournal::Table {
    QString path;
    quint16 id = 0;
    platform::NativeFile file;
    // Records the table had before the transaction; rows past them are new
    // and go away with the cut of the file.
    quint32 originalCount = 0;
    int headerLength = 0;
    int recordLength = 0;
    // Rows whose bytes the journal holds.
    std::unordered_set<quint32> saved;
    // The journal holds the table's length and header; the transaction
    // wrote to it.
    bool journaled = false;
    bool written = false;
};

std::shared_ptr<FolderJournal> FolderJournal::of(const QString &folder)
{
    const QString key = canonicalFolder(folder);
    auto &journals = registry();
    if (auto existing = journals[key].lock())
        return existing;
    std::shared_ptr<FolderJournal> journal(new FolderJournal(key));
    journals[key] = journal;
    return journal;
}

FolderJournal *FolderJournal::active()
{
    return activeJournal;
}

void FolderJournal::setLockTimeout(int milliseconds)
{
    lockTimeoutMs = milliseconds;
}

FolderJournal::FolderJournal(const QString &folder) : folder_(folder) {}

FolderJournal::~FolderJournal()
{
    if (inTransaction_)
        rollback();
}

void FolderJournal::fail(const QString &problem) const
{
    throw DbfError(QStringLiteral("Dosarul de date %1: %2").arg(QDir::toNativeSeparators(folder_), problem));
}

bool FolderJournal::openFile(bool create)
{
    path_ = platform::findFileNoCase(folder_, QString::fromLatin1(kJournalFileName));
    if (file_.open(path_, platform::NativeFile::ReadWriteOrReadOnly))
        return true;
    if (file_.problem() != platform::NativeFile::NotFound || !create)
        return false;
    if (!file_.open(path_, platform::NativeFile::ReadWriteCreate))
        return false;
    platform::syncFolder(folder_);
    return true;
}

void FolderJournal::lock(LockMode mode)
{
    // The journal file may have been replaced (the folder restored from a
    // backup) while we waited: a lock on the old file guards nothing.
    for (int attempt = 0;; ++attempt) {
        QString why;
        bool busy = false;
        if (!lockFile(file_, mode, lockTimeoutMs, &why, &busy)) {
            if (busy)
                throw DbfError(QStringLiteral("Dosarul de date %1 este ocupat: alt calculator salveaza acum o operatie "
                                              "in el. Incercati din nou peste cateva momente.")
                                   .arg(QDir::toNativeSeparators(folder_)));
            fail(why);
        }
        if (file_.isStillAt(path_))
            return;
        unlockFile(file_);
        if (attempt > 20 || !openFile(true))
            fail(QStringLiteral("fisierul jurnal %1 nu poate fi deschis").arg(QString::fromLatin1(kJournalFileName)));
    }
}

void FolderJournal::unlock()
{
    if (file_.isOpen())
        unlockFile(file_);
}

void FolderJournal::beginStatement()
{
    if (inTransaction_)
        return;
    if (statementDepth_++ > 0)
        return;
    try {
        if (!file_.isOpen() && !openFile(true))
            return; // a folder that cannot be written and was never journaled
        lock(LockMode::Shared);
        recoverIfNeeded();
    } catch (...) {
        statementDepth_ = 0;
        unlock();
        throw;
    }
}

void FolderJournal::endStatement()
{
    if (inTransaction_ || statementDepth_ == 0)
        return;
    if (--statementDepth_ == 0)
        unlock();
}

void FolderJournal::recoverIfNeeded()
{
    if (file_.size() <= 0)
        return;
    // Holding the shared lock, we know the writer is gone. Two processes
    // that upgrade at once would wait for each other: let go first.
    unlock();
    lock(LockMode::Exclusive);
    if (file_.size() > 0)
        rollBackFile();
    lock(LockMode::Shared);
}

void FolderJournal::beginTransaction()
{
    if (inTransaction_ || activeJournal)
        fail(QStringLiteral("o tranzactie este deja in curs"));
    if ((!file_.isOpen() || !file_.isWritable()) && (!openFile(true) || !file_.isWritable()))
        fail(QStringLiteral("fisierul jurnal %1 nu poate fi scris (%2)")
                 .arg(QString::fromLatin1(kJournalFileName), file_.errorString()));
    lock(LockMode::Exclusive);
    try {
        if (file_.size() > 0)
            rollBackFile();
    } catch (...) {
        unlock();
        throw;
    }
    statementDepth_ = 0;
    written_ = 0;
    inTransaction_ = true;
    activeJournal = this;
}

FolderJournal::Table *FolderJournal::tryTableOf(const QString &path)
{
    for (const auto &t : tables_)
        if (t->path == path)
            return t.get();
    if (tables_.size() >= 0xFFFF)
        return nullptr;
    auto table = std::make_unique<Table>();
    table->path = path;
    table->id = quint16(tables_.size());
    if (!table->file.open(path, platform::NativeFile::ReadWrite))
        return nullptr;
    tables_.push_back(std::move(table));
    return tables_.back().get();
}

FolderJournal::Table &FolderJournal::tableOf(const QString &path)
{
    Table *table = tryTableOf(path);
    if (!table)
        fail(QStringLiteral("tabela %1 nu poate fi deschisa").arg(QDir::toNativeSeparators(path)));
    return *table;
}

bool FolderJournal::journalTable(Table &table, std::vector<char> &entries)
{
    // The table as it is before its first write: length, header and the
    // bytes after its last record (the end-of-file mark that an append
    // overwrites).
    char header[kHeaderBytes];
    const qint64 length = table.file.size();
    if (length < kHeaderBytes || !table.file.readAt(0, header, kHeaderBytes))
        return false;
    const HeaderStart start = readHeaderStart(header);
    table.headerLength = start.headerLength;
    table.recordLength = start.recordLength;
    table.originalCount = start.recordCount;
    const qint64 dataEnd =
        qMin<qint64>(qint64(table.headerLength) + qint64(table.originalCount) * table.recordLength, length);
    std::vector<char> tail(size_t(length - dataEnd));
    if (!tail.empty() && !table.file.readAt(dataEnd, tail.data(), qint64(tail.size())))
        return false;
    const QByteArray name = QFileInfo(table.path).fileName().toUtf8();
    std::vector<char> payload;
    payload.reserve(2 + 8 + kHeaderBytes + 4 + tail.size() + size_t(name.size()));
    put<quint16>(payload, table.id);
    put<qint64>(payload, length);
    payload.insert(payload.end(), header, header + kHeaderBytes);
    put<quint32>(payload, quint32(tail.size()));
    payload.insert(payload.end(), tail.begin(), tail.end());
    payload.insert(payload.end(), name.begin(), name.end());
    putEntry(entries, kTableEntry, payload);
    table.journaled = true;
    return true;
}

void FolderJournal::protect(const QString &tablePath, const std::vector<quint32> &rows)
{
    if (!inTransaction_)
        return;
    std::vector<char> entries;
    if (tables_.empty()) {
        // Every table of the folder is journaled with the first write, in
        // one sync: an operation that then only appends to other tables (an
        // added request) needs no further sync before its commit.
        const QStringList names = QDir(folder_).entryList({QStringLiteral("*.dbf")}, QDir::Files, QDir::Name);
        for (const QString &name : names) {
            Table *table = tryTableOf(folder_ + QLatin1Char('/') + name);
            if (table)
                journalTable(*table, entries);
        }
    }
    Table &table = tableOf(tablePath);
    if (!table.journaled && !journalTable(table, entries))
        fail(QStringLiteral("tabela %1 nu poate fi citita").arg(QDir::toNativeSeparators(tablePath)));
    table.written = true;
    std::vector<char> payload;
    for (const quint32 row : rows) {
        if (row >= table.originalCount || !table.saved.insert(row).second)
            continue;
        payload.clear();
        put<quint16>(payload, table.id);
        put<quint32>(payload, row);
        const size_t at = payload.size();
        payload.resize(at + size_t(table.recordLength));
        const qint64 offset = qint64(table.headerLength) + qint64(row) * table.recordLength;
        if (!table.file.readAt(offset, payload.data() + at, table.recordLength))
            fail(QStringLiteral("tabela %1: randul %2 nu poate fi citit")
                     .arg(QDir::toNativeSeparators(tablePath))
                     .arg(row + 1));
        putEntry(entries, kRecordEntry, payload);
    }
    if (!entries.empty())
        append(entries);
}

void FolderJournal::append(const std::vector<char> &entries)
{
    std::vector<char> bytes;
    if (written_ == 0)
        bytes.assign(kMagic, kMagic + sizeof kMagic);
    bytes.insert(bytes.end(), entries.begin(), entries.end());
    // The undo information must be on the disk before the change it undoes.
    if (!file_.writeAt(written_, bytes.data(), qint64(bytes.size())) || !file_.syncData())
        fail(QStringLiteral("jurnalul nu poate fi scris (%1)").arg(file_.errorString()));
    written_ += qint64(bytes.size());
}

void FolderJournal::syncTables()
{
    std::vector<Table *> written;
    for (const auto &t : tables_)
        if (t->written)
            written.push_back(t.get());
    // Start writing every table before waiting for the first, so that the
    // disk takes them together instead of one after another.
    for (Table *t : written)
        t->file.startWriteBack();
    // The data and the length are what a restart needs; the times can wait.
    for (Table *t : written)
        if (!t->file.syncData())
            fail(QStringLiteral("tabela %1 nu poate fi scrisa pe disc (%2)")
                     .arg(QDir::toNativeSeparators(t->path), t->file.errorString()));
}

void FolderJournal::emptyFile()
{
    // Emptied, not deleted: the file carries the folder's lock.
    if (!file_.truncate(0) || !file_.syncData())
        fail(QStringLiteral("jurnalul nu poate fi golit (%1)").arg(file_.errorString()));
    written_ = 0;
}

void FolderJournal::rollBackFile()
{
    if (!file_.isWritable())
        fail(QStringLiteral("o operatie neterminata trebuie anulata, dar dosarul nu poate fi scris"));
    const qint64 length = file_.size();
    if (length < 0)
        fail(QStringLiteral("jurnalul nu poate fi citit (%1)").arg(file_.errorString()));
    QByteArray bytes(qsizetype(length), '\0');
    if (!file_.readAt(0, bytes.data(), bytes.size()))
        fail(QStringLiteral("jurnalul nu poate fi citit (%1)").arg(file_.errorString()));
    const auto tables = parseJournal(bytes);
    for (const auto &[id, saved] : tables)
        if (!saved.name.isEmpty())
            restoreTable(folder_, saved);
    emptyFile();
}

void FolderJournal::endTransaction()
{
    tables_.clear();
    inTransaction_ = false;
    written_ = 0;
    if (activeJournal == this)
        activeJournal = nullptr;
    unlock();
}

void FolderJournal::commit()
{
    if (!inTransaction_)
        return;
    try {
        syncTables();
        if (written_ > 0)
            emptyFile();
    } catch (...) {
        try {
            rollback();
        } catch (...) {
        }
        throw;
    }
    endTransaction();
}

void FolderJournal::rollback()
{
    if (!inTransaction_)
        return;
    try {
        // Our table descriptors hold no locks; closing them first keeps the
        // restore's own descriptors the only ones at work.
        tables_.clear();
        if (file_.size() != 0)
            rollBackFile();
    } catch (...) {
        endTransaction();
        throw;
    }
    endTransaction();
}

FolderStatement::FolderStatement(const QString &folder) : journal_(FolderJournal::of(folder))
{
    if (journal_->inTransaction())
        throw DbfError(QStringLiteral("Dosarul de date %1: tabelele nu se refac in timpul unei tranzactii")
                           .arg(QDir::toNativeSeparators(journal_->folder())));
    journal_->beginStatement();
}

FolderStatement::~FolderStatement()
{
    journal_->endStatement();
}

} // namespace dbf
