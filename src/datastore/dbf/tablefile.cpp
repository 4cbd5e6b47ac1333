#include "datastore/dbf/tablefile.h"

#include "platform/filecase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace dbf {
namespace {

// Records are read in blocks of about this many bytes.
constexpr int kBlockBytes = 64 * 1024;
// A table keeps at most this much of its file in memory.
constexpr size_t kCacheBytes = size_t(32) * 1024 * 1024;

int lockTimeoutMs = 20000;

std::unordered_map<QString, std::shared_ptr<TableFile>> &registry()
{
    static std::unordered_map<QString, std::shared_ptr<TableFile>> tables;
    return tables;
}

QString canonicalPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(platform::resolvePathNoCase(path)).absoluteFilePath());
}

double normalisedKey(double key)
{
    return key == 0 ? 0.0 : key;
}

} // namespace

struct TableFile::ColumnIndex {
    // Rows indexed so far: the rows from 0 to covered - 1.
    quint32 covered = 0;
    // Keys of a text column (bytes without trailing blanks).
    std::unordered_map<std::string, std::vector<quint32>> texts;
    // Keys of a numeric column.
    std::unordered_map<double, std::vector<quint32>> numbers;
    // The same keys in order, for ranges; built on first need, dropped when
    // rows are added to the index.
    std::vector<std::pair<double, quint32>> sorted;
};

std::shared_ptr<TableFile> TableFile::open(const QString &path)
{
    const QString real = canonicalPath(path);
    auto &tables = registry();
    const auto it = tables.find(real);
    if (it != tables.end())
        return it->second;
    std::shared_ptr<TableFile> table(new TableFile(real));
    table->openDescriptor();
    tables.emplace(real, table);
    return table;
}

void TableFile::forget(const QString &path)
{
    registry().erase(canonicalPath(path));
}

void TableFile::setLockTimeout(int milliseconds)
{
    lockTimeoutMs = milliseconds;
}

TableFile::TableFile(const QString &path) : path_(path) {}

TableFile::~TableFile() = default;

void TableFile::fail(const QString &problem) const
{
    throw DbfError(QStringLiteral("Tabela %1: %2").arg(QDir::toNativeSeparators(path_), problem));
}

void TableFile::openDescriptor()
{
    if (!file_.open(path_, platform::NativeFile::ReadWriteOrReadOnly)) {
        if (file_.problem() == platform::NativeFile::NotFound)
            fail(QStringLiteral("fisierul nu exista"));
        fail(QStringLiteral("fisierul nu poate fi deschis (%1)").arg(file_.errorString()));
    }
    state_ = State();
    invalidate();
}

int TableFile::fieldIndex(const QString &name) const
{
    for (int i = 0; i < header_.fields.size(); ++i)
        if (header_.fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TableFile::begin(LockMode mode)
{
    if (depth_ > 0) {
        if (mode == LockMode::Exclusive && mode_ != LockMode::Exclusive) {
            QString why;
            if (!lockFile(file_, LockMode::Exclusive, lockTimeoutMs, &why))
                fail(why);
            mode_ = LockMode::Exclusive;
            refresh();
        }
        ++depth_;
        return;
    }
    // The file may have been replaced (packed or restructured by another
    // process) while we waited: then the lock is on a file nobody uses, so
    // open the new one and lock again.
    for (int attempt = 0;; ++attempt) {
        QString why;
        if (!lockFile(file_, mode, lockTimeoutMs, &why))
            fail(why);
        if (file_.isStillAt(path_))
            break;
        unlockFile(file_);
        if (!QFileInfo::exists(path_))
            fail(QStringLiteral("fisierul nu mai exista"));
        if (attempt > 20)
            fail(QStringLiteral("fisierul este inlocuit mereu de alt proces"));
        openDescriptor();
    }
    mode_ = mode;
    try {
        refresh();
    } catch (...) {
        unlockFile(file_);
        mode_ = LockMode::None;
        throw;
    }
    depth_ = 1;
}

void TableFile::end()
{
    if (depth_ <= 0)
        return;
    if (--depth_ > 0)
        return;
    discardStaged();
    if (written_) {
        // The header was written with the records; remember how the file
        // looks now, so that what we know of it stays valid.
        written_ = false;
        platform::FileStatus st;
        if (file_.status(&st)) {
            state_.size = st.size;
            state_.mtimeNs = st.modifiedNs;
            state_.start = header_;
        } else {
            state_ = State();
        }
    }
    unlockFile(file_);
    mode_ = LockMode::None;
}

void TableFile::invalidate()
{
    blocks_.clear();
    cachedBytes_ = 0;
    indexes_.clear();
}

void TableFile::refresh()
{
    platform::FileStatus st;
    if (!file_.status(&st))
        fail(QStringLiteral("fisierul nu poate fi citit (%1)").arg(file_.errorString()));
    char first[32];
    if (st.size < 32 || !file_.readAt(0, first, sizeof first))
        fail(QStringLiteral("fisierul are %1 octeti, prea putin pentru un antet dBASE").arg(st.size));
    State now;
    now.identity = st.identity;
    now.size = st.size;
    now.mtimeNs = st.modifiedNs;
    now.start = readHeaderStart(first);
    if (now == state_ && !headerBytes_.isEmpty())
        return;
    invalidate();
    state_ = State();
    readWholeHeader();
    state_ = now;
}

void TableFile::readWholeHeader()
{
    platform::FileStatus st;
    if (!file_.status(&st))
        fail(QStringLiteral("fisierul nu poate fi citit (%1)").arg(file_.errorString()));
    char first[32];
    if (!file_.readAt(0, first, 32))
        fail(QStringLiteral("antetul nu poate fi citit"));
    const qint64 length = qMin<qint64>(qMax(32, readHeaderStart(first).headerLength), st.size);
    QByteArray bytes(length, '\0');
    if (!file_.readAt(0, bytes.data(), length))
        fail(QStringLiteral("antetul nu poate fi citit"));
    Header parsed;
    QString why;
    if (!parseHeader(bytes.constData(), length, st.size, parsed, &why))
        fail(why);
    if (headerBytes_.isEmpty() || headerBytes_.mid(32) != bytes.mid(32)
        || parsed.recordLength != header_.recordLength)
        ++layoutVersion_;
    header_ = parsed;
    headerBytes_ = bytes;
    blockRows_ = quint32(qMax(1, kBlockBytes / header_.recordLength));
}

Record TableFile::record(quint32 row)
{
    if (row >= header_.recordCount)
        fail(QStringLiteral("randul %1 nu exista").arg(row + 1));
    const quint32 number = row / blockRows_;
    auto it = blocks_.find(number);
    if (it == blocks_.end() || row >= it->second->firstRow + it->second->rows) {
        auto block = std::make_shared<RecordBlock>();
        block->firstRow = number * blockRows_;
        block->rows = qMin(blockRows_, header_.recordCount - block->firstRow);
        block->bytes.resize(size_t(block->rows) * size_t(header_.recordLength));
        const qint64 offset = qint64(header_.headerLength) + qint64(block->firstRow) * header_.recordLength;
        if (!file_.readAt(offset, block->bytes.data(), qint64(block->bytes.size())))
            fail(QStringLiteral("randul %1 nu poate fi citit").arg(row + 1));
        if (it != blocks_.end()) {
            cachedBytes_ -= it->second->bytes.size();
            blocks_.erase(it);
        }
        if (cachedBytes_ + block->bytes.size() > kCacheBytes) {
            blocks_.clear();
            cachedBytes_ = 0;
        }
        cachedBytes_ += block->bytes.size();
        it = blocks_.emplace(number, std::move(block)).first;
    }
    const RecordBlock &b = *it->second;
    Record r;
    r.block = it->second;
    r.data = b.bytes.data() + size_t(row - b.firstRow) * size_t(header_.recordLength);
    return r;
}

void TableFile::markWritten()
{
    if (mode_ != LockMode::Exclusive)
        fail(QStringLiteral("scriere fara blocare exclusiva"));
    if (written_)
        return;
    written_ = true;
    ++header_.changeCounter;
    // An index the old program keeps beside the table would go stale with
    // our writes; it must not be trusted any more.
    if (header_.productionIndex != 0) {
        header_.productionIndex = 0;
        const QFileInfo info(path_);
        const QString mdx = platform::findFileNoCase(info.path(), info.completeBaseName() + QStringLiteral(".mdx"));
        QFile::remove(mdx);
    }
    writeHeader();
}

void TableFile::writeHeader()
{
    char first[32];
    std::memcpy(first, headerBytes_.constData(), 32);
    stampHeader(first, header_.recordCount, header_.changeCounter);
    first[kProductionIndexOffset] = char(header_.productionIndex);
    if (!file_.writeAt(0, first, 32))
        fail(QStringLiteral("antetul nu poate fi scris (%1)").arg(file_.errorString()));
    std::memcpy(headerBytes_.data(), first, 32);
}

void TableFile::dropIndexesTouched(quint32 row, const char *newBytes)
{
    if (indexes_.empty())
        return;
    const Record old = record(row);
    for (auto it = indexes_.begin(); it != indexes_.end();) {
        const Field &f = header_.fields[it->first];
        if (std::memcmp(old.data + f.offset, newBytes + f.offset, size_t(f.width)) != 0)
            it = indexes_.erase(it);
        else
            ++it;
    }
}

void TableFile::writeRecord(quint32 row, const char *bytes)
{
    if (row >= header_.recordCount)
        fail(QStringLiteral("randul %1 nu exista").arg(row + 1));
    markWritten();
    dropIndexesTouched(row, bytes);
    const qint64 offset = qint64(header_.headerLength) + qint64(row) * header_.recordLength;
    if (!file_.writeAt(offset, bytes, header_.recordLength))
        fail(QStringLiteral("randul %1 nu poate fi scris (%2)").arg(row + 1).arg(file_.errorString()));
    const auto it = blocks_.find(row / blockRows_);
    if (it != blocks_.end() && row < it->second->firstRow + it->second->rows)
        std::memcpy(it->second->bytes.data() + size_t(row - it->second->firstRow) * header_.recordLength, bytes,
                    size_t(header_.recordLength));
}

quint32 TableFile::appendRecord(const char *bytes)
{
    markWritten();
    const quint32 row = header_.recordCount;
    if (row == 0xFFFFFFFFu)
        fail(QStringLiteral("tabela este plina"));
    std::vector<char> buffer(bytes, bytes + header_.recordLength);
    buffer.push_back(0x1A); // end-of-file mark, overwritten by the next record
    const qint64 offset = qint64(header_.headerLength) + qint64(row) * header_.recordLength;
    if (qint64(offset) + header_.recordLength > 0x7FFFFFFFLL)
        fail(QStringLiteral("tabela a atins marimea maxima a unui fisier dBASE"));
    if (!file_.writeAt(offset, buffer.data(), qint64(buffer.size())))
        fail(QStringLiteral("randul nou nu poate fi scris (%1)").arg(file_.errorString()));
    header_.recordCount = row + 1;
    return row;
}

void TableFile::deleteRecord(quint32 row)
{
    const Record r = record(row);
    std::vector<char> bytes(r.data, r.data + header_.recordLength);
    bytes[0] = '*';
    writeRecord(row, bytes.data());
}

void TableFile::stageWrite(quint32 row, const char *bytes)
{
    if (mode_ != LockMode::Exclusive)
        fail(QStringLiteral("scriere fara blocare exclusiva"));
    const quint32 count = header_.recordCount;
    const size_t length = size_t(header_.recordLength);
    if (row >= count) {
        const size_t at = size_t(row - count) * length;
        if (at + length > stagedAppends_.size())
            fail(QStringLiteral("randul %1 nu exista").arg(row + 1));
        std::memcpy(stagedAppends_.data() + at, bytes, length);
        return;
    }
    stagedWrites_[row].assign(bytes, bytes + length);
}

quint32 TableFile::stageAppend(const char *bytes)
{
    if (mode_ != LockMode::Exclusive)
        fail(QStringLiteral("scriere fara blocare exclusiva"));
    const size_t length = size_t(header_.recordLength);
    const quint64 row = quint64(header_.recordCount) + stagedAppends_.size() / length;
    if (row >= 0xFFFFFFFFull)
        fail(QStringLiteral("tabela este plina"));
    stagedAppends_.insert(stagedAppends_.end(), bytes, bytes + length);
    return quint32(row);
}

const char *TableFile::stagedRecord(quint32 row) const
{
    const quint32 count = header_.recordCount;
    const size_t length = size_t(header_.recordLength);
    if (row >= count) {
        const size_t at = size_t(row - count) * length;
        return at + length <= stagedAppends_.size() ? stagedAppends_.data() + at : nullptr;
    }
    const auto it = stagedWrites_.find(row);
    return it == stagedWrites_.end() ? nullptr : it->second.data();
}

std::vector<quint32> TableFile::stagedRows() const
{
    std::vector<quint32> rows;
    rows.reserve(stagedWrites_.size());
    for (const auto &entry : stagedWrites_)
        rows.push_back(entry.first);
    return rows;
}

void TableFile::commitStaged()
{
    if (stagedAppends_.empty() && stagedWrites_.empty())
        return;
    markWritten();
    if (!stagedAppends_.empty()) {
        const size_t length = size_t(header_.recordLength);
        const quint32 rows = quint32(stagedAppends_.size() / length);
        const qint64 offset = qint64(header_.headerLength) + qint64(header_.recordCount) * header_.recordLength;
        if (qint64(offset) + qint64(stagedAppends_.size()) > 0x7FFFFFFFLL)
            fail(QStringLiteral("tabela a atins marimea maxima a unui fisier dBASE"));
        stagedAppends_.push_back(0x1A); // end-of-file mark, overwritten by the next record
        if (!file_.writeAt(offset, stagedAppends_.data(), qint64(stagedAppends_.size())))
            fail(QStringLiteral("randurile noi nu pot fi scrise (%1)").arg(file_.errorString()));
        header_.recordCount += rows;
        stagedAppends_.clear();
    }
    for (const auto &[row, bytes] : stagedWrites_)
        writeRecord(row, bytes.data());
    stagedWrites_.clear();
    writeHeader();
}

void TableFile::discardStaged()
{
    stagedAppends_.clear();
    stagedWrites_.clear();
}

TableFile::ColumnIndex &TableFile::indexOf(int column)
{
    auto &slot = indexes_[column];
    if (!slot)
        slot = std::make_unique<ColumnIndex>();
    ColumnIndex &index = *slot;
    const Field &f = header_.fields[column];
    const bool numeric = f.type == 'N' || f.type == 'F';
    for (quint32 row = index.covered; row < header_.recordCount; ++row) {
        const Record r = record(row);
        const char *value = r.data + f.offset;
        if (numeric) {
            bool isInteger = false;
            qint64 integer = 0;
            double real = 0;
            if (readNumber(value, f.width, &isInteger, &integer, &real) == ValueState::Ok)
                index.numbers[normalisedKey(isInteger ? double(integer) : real)].push_back(row);
        } else {
            index.texts[std::string(value, size_t(trimmedLength(value, f.width)))].push_back(row);
        }
    }
    if (index.covered != header_.recordCount)
        index.sorted.clear();
    index.covered = header_.recordCount;
    return index;
}

const std::vector<quint32> &TableFile::rowsWithText(int column, const std::string &key)
{
    static const std::vector<quint32> none;
    ColumnIndex &index = indexOf(column);
    const auto it = index.texts.find(key);
    return it == index.texts.end() ? none : it->second;
}

const std::vector<quint32> &TableFile::rowsWithNumber(int column, double key)
{
    static const std::vector<quint32> none;
    ColumnIndex &index = indexOf(column);
    const auto it = index.numbers.find(normalisedKey(key));
    return it == index.numbers.end() ? none : it->second;
}

std::vector<quint32> TableFile::rowsInRange(int column, const Bound &low, const Bound &high)
{
    ColumnIndex &index = indexOf(column);
    if (index.sorted.empty()) {
        for (const auto &[key, rows] : index.numbers)
            for (quint32 row : rows)
                index.sorted.emplace_back(key, row);
        std::sort(index.sorted.begin(), index.sorted.end());
    }
    auto first = index.sorted.begin();
    auto last = index.sorted.end();
    if (low.given) {
        first = low.inclusive ? std::lower_bound(first, last, std::make_pair(low.value, quint32(0)))
                              : std::upper_bound(first, last, std::make_pair(low.value, quint32(0xFFFFFFFF)));
    }
    if (high.given) {
        last = high.inclusive ? std::upper_bound(first, last, std::make_pair(high.value, quint32(0xFFFFFFFF)))
                              : std::lower_bound(first, last, std::make_pair(high.value, quint32(0)));
    }
    std::vector<quint32> rows;
    if (first < last) {
        rows.reserve(size_t(last - first));
        for (auto it = first; it != last; ++it)
            rows.push_back(it->second);
    }
    // File order reads the file block after block.
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace dbf
