#include "backup/archive.h"

#include "datastore/dbf/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace backup {
namespace {

// Uncompressed bytes deflated as one piece of work.
constexpr qint64 kChunkSize = qint64(1) << 20;
// Deflate's window: what a chunk may refer back to in the chunk before it.
constexpr qint64 kDictionarySize = 32768;
// The zlib header that level 9 writes (CMF 0x78, FLG 0xDA).
constexpr unsigned char kZlibHeader[2] = {0x78, 0xDA};
// Smallest possible entry: name length, one name byte, size, and an empty
// zlib stream (header, an empty final block, checksum).
constexpr qint64 kSmallestEntry = 4 + 1 + 4 + 2 + 2 + 4;
// Block read from an archive, and inflated at a time.
constexpr qint64 kBufferSize = 64 * 1024;
// How many inflated bytes pass between two progress calls inside one entry.
constexpr qint64 kProgressEvery = qint64(8) << 20;

QByteArray littleEndian32(qint64 value)
{
    const quint32 v = quint32(value);
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((v >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray bigEndian32(quint32 v)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((v >> (8 * (3 - i))) & 0xFF);
    return bytes;
}

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

QString entryLabel(int index, const QString &name = {})
{
    return name.isEmpty() ? QStringLiteral("intrarea %1").arg(index + 1)
                          : QStringLiteral("intrarea %1 (\"%2\")").arg(index + 1).arg(name);
}

// ---- writing ----

// One chunk of one file.
struct Piece {
    // Index of the entry in the list of names.
    int entry = 0;
    // Where the chunk starts in the file, and its length.
    qint64 offset = 0;
    qint64 length = 0;
    // The chunk that ends the entry's stream.
    bool last = false;
};

// What deflating a piece gave.
struct Deflated {
    // Raw deflate bytes, ending byte-aligned (a final block for the last piece).
    QByteArray data;
    // Adler-32 of the piece's uncompressed bytes.
    uLong adler = 1;
    // Empty on success.
    QString problem;
};

Deflated deflatePiece(const QString &path, const Piece &piece)
{
    Deflated result;
    QFile file(path);
    const qint64 start = std::max<qint64>(0, piece.offset - kDictionarySize);
    const qint64 wanted = piece.offset + piece.length - start;
    QByteArray input;
    if (file.open(QIODevice::ReadOnly) && file.seek(start))
        input = file.read(wanted);
    if (input.size() != wanted) {
        result.problem = QStringLiteral("fisierul \"%1\" nu poate fi citit").arg(QFileInfo(path).fileName());
        return result;
    }
    const qint64 dictionary = piece.offset - start;
    Bytef *data = reinterpret_cast<Bytef *>(input.data());
    result.adler = adler32(1, data + dictionary, uInt(piece.length));

    z_stream zs{};
    if (deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        result.problem = QStringLiteral("compresia nu poate porni");
        return result;
    }
    if (dictionary > 0)
        deflateSetDictionary(&zs, data, uInt(dictionary));
    result.data.resize(qsizetype(deflateBound(&zs, uLong(piece.length)) + 64));
    zs.next_in = data + dictionary;
    zs.avail_in = uInt(piece.length);
    zs.next_out = reinterpret_cast<Bytef *>(result.data.data());
    zs.avail_out = uInt(result.data.size());
    const int flush = piece.last ? Z_FINISH : Z_SYNC_FLUSH;
    int rc = deflate(&zs, flush);
    while (rc == Z_OK && (zs.avail_in > 0 || zs.avail_out == 0 || piece.last)) {
        // deflateBound is generous; this only runs if it was not.
        const qsizetype used = qsizetype(zs.total_out);
        result.data.resize(result.data.size() * 2);
        zs.next_out = reinterpret_cast<Bytef *>(result.data.data()) + used;
        zs.avail_out = uInt(result.data.size() - used);
        rc = deflate(&zs, flush);
    }
    const bool finished = piece.last ? rc == Z_STREAM_END : (rc == Z_OK || rc == Z_BUF_ERROR);
    result.data.resize(qsizetype(zs.total_out));
    deflateEnd(&zs);
    if (!finished || zs.avail_in != 0)
        result.problem = QStringLiteral("compresia a esuat");
    return result;
}

// Deflates the pieces on worker threads, at most `window` ahead of the
// writer, and hands them back in order.
class PiecePipeline {
public:
    PiecePipeline(const QStringList &paths, std::vector<Piece> pieces, int threads)
        : paths_(paths), pieces_(std::move(pieces)), results_(pieces_.size()),
          window_(size_t(std::max(2, threads * 2)))
    {
        for (int t = 0; t < threads; ++t)
            workers_.emplace_back([this] { work(); });
    }

    ~PiecePipeline()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        for (std::thread &t : workers_)
            t.join();
    }

    size_t size() const { return pieces_.size(); }
    const Piece &piece(size_t i) const { return pieces_[i]; }

    // Waits for piece `i` (taken in order) and gives it to the caller.
    Deflated take(size_t i)
    {
        if (workers_.empty())
            return deflatePiece(paths_[pieces_[i].entry], pieces_[i]);
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return results_[i] != nullptr; });
        Deflated result = std::move(*results_[i]);
        results_[i].reset();
        written_ = i + 1;
        lock.unlock();
        changed_.notify_all();
        return result;
    }

private:
    void work()
    {
        for (;;) {
            size_t i = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [&] { return stop_ || next_ >= pieces_.size() || next_ < written_ + window_; });
                if (stop_ || next_ >= pieces_.size())
                    return;
                i = next_++;
            }
            auto result = std::make_unique<Deflated>(deflatePiece(paths_[pieces_[i].entry], pieces_[i]));
            {
                std::lock_guard<std::mutex> lock(mutex_);
                results_[i] = std::move(result);
            }
            changed_.notify_all();
        }
    }

    const QStringList paths_;
    const std::vector<Piece> pieces_;
    std::vector<std::unique_ptr<Deflated>> results_;
    // How far the workers may run ahead of the writer, in pieces.
    const size_t window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // Next piece a worker takes, and pieces already handed to the writer.
    size_t next_ = 0;
    size_t written_ = 0;
    bool stop_ = false;
    std::vector<std::thread> workers_;
};

bool writeAll(QIODevice &out, const QByteArray &bytes)
{
    return out.write(bytes) == bytes.size();
}

// ---- reading ----

// The archive file, read through one buffer, with the count of bytes left.
class ArchiveSource {
public:
    bool open(const QString &path, QString *reason)
    {
        file_.setFileName(path);
        if (!file_.open(QIODevice::ReadOnly)) {
            setReason(reason, QStringLiteral("arhiva \"%1\" nu poate fi deschisa (%2)").arg(path, file_.errorString()));
            return false;
        }
        left_ = file_.size();
        return true;
    }

    // Bytes of the archive not yet consumed.
    qint64 left() const { return left_; }

    // Exactly `n` bytes, or false when the file ends before.
    bool read(char *into, qint64 n)
    {
        while (n > 0) {
            if (available() == 0 && !refill())
                return false;
            const qint64 part = std::min(n, available());
            std::copy_n(buffer_.constData() + position_, part, into);
            consume(part);
            into += part;
            n -= part;
        }
        return true;
    }

    bool readInt32(qint64 *value)
    {
        unsigned char b[4];
        if (!read(reinterpret_cast<char *>(b), 4))
            return false;
        *value = qint32(quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24));
        return true;
    }

    // The buffered bytes not yet consumed; refill() reads the next block.
    const char *data() const { return buffer_.constData() + position_; }
    qint64 available() const { return buffer_.size() - position_; }
    void consume(qint64 n)
    {
        position_ += n;
        left_ -= n;
    }
    bool refill()
    {
        buffer_ = file_.read(kBufferSize);
        position_ = 0;
        return !buffer_.isEmpty();
    }

private:
    QFile file_;
    QByteArray buffer_;
    qint64 position_ = 0;
    qint64 left_ = 0;
};

// Where the inflated bytes of an entry go: a new file, or nowhere (check).
class EntrySink {
public:
    virtual ~EntrySink() = default;
    virtual bool begin(const ArchiveEntry &entry, QString *problem) = 0;
    virtual bool write(const char *bytes, qint64 n) = 0;
    virtual bool finish() = 0;
    virtual void discard() = 0;
};

class CountingSink : public EntrySink {
public:
    bool begin(const ArchiveEntry &, QString *) override { return true; }
    bool write(const char *, qint64) override { return true; }
    bool finish() override { return true; }
    void discard() override {}
};

class FolderSink : public EntrySink {
public:
    explicit FolderSink(const QString &folder) : folder_(folder) {}

    bool begin(const ArchiveEntry &entry, QString *problem) override
    {
        const QStorageInfo storage(folder_);
        if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < entry.size) {
            *problem = QStringLiteral("nu este loc pe disc pentru %1 octeti").arg(entry.size);
            return false;
        }
        file_.setFileName(QDir(folder_).filePath(entry.name));
        // NewOnly: never overwrite, never follow a link planted under that name.
        if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            *problem = QStringLiteral("fisierul nu poate fi creat (%1)").arg(file_.errorString());
            return false;
        }
        return true;
    }
    bool write(const char *bytes, qint64 n) override { return file_.write(bytes, n) == n; }
    bool finish() override
    {
        const bool ok = file_.flush() && file_.error() == QFileDevice::NoError;
        file_.close();
        return ok;
    }
    void discard() override
    {
        if (file_.isOpen())
            file_.close();
        file_.remove();
    }

private:
    QString folder_;
    QFile file_;
};

// Inflates one zlib stream from `source` into `sink`; exactly `size` bytes
// must come out. Leaves `source` right after the stream's last byte.
bool inflateEntry(ArchiveSource &source, qint64 size, EntrySink &sink, const std::function<void()> &tick,
                  QString *problem)
{
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        *problem = QStringLiteral("decompresia nu poate porni");
        return false;
    }
    std::vector<char> out(kBufferSize);
    qint64 produced = 0;
    qint64 nextTick = kProgressEvery;
    int rc = Z_OK;
    bool ok = true;
    while (rc != Z_STREAM_END) {
        if (source.available() == 0 && !source.refill()) {
            *problem = QStringLiteral("arhiva se termina in mijlocul datelor");
            ok = false;
            break;
        }
        zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(source.data()));
        zs.avail_in = uInt(source.available());
        zs.next_out = reinterpret_cast<Bytef *>(out.data());
        zs.avail_out = uInt(out.size());
        rc = inflate(&zs, Z_NO_FLUSH);
        source.consume(source.available() - zs.avail_in);
        const qint64 got = qint64(out.size()) - zs.avail_out;
        if (rc != Z_OK && rc != Z_STREAM_END && !(rc == Z_BUF_ERROR && got == 0 && zs.avail_in == 0)) {
            *problem = QStringLiteral("datele comprimate sunt deteriorate");
            ok = false;
            break;
        }
        produced += got;
        if (produced > size) {
            *problem = QStringLiteral("continutul depaseste marimea declarata (%1 octeti)").arg(size);
            ok = false;
            break;
        }
        if (got > 0 && !sink.write(out.data(), got)) {
            *problem = QStringLiteral("fisierul nu poate fi scris");
            ok = false;
            break;
        }
        if (produced >= nextTick) {
            nextTick += kProgressEvery;
            tick();
        }
    }
    inflateEnd(&zs);
    if (ok && produced != size) {
        *problem = QStringLiteral("continutul are %1 octeti in loc de %2 declarati").arg(produced).arg(size);
        ok = false;
    }
    return ok;
}

// The common reader of UnpackArchive and CheckArchive.
bool readArchive(const QString &archive, EntrySink &sink, const ArchiveProgress &progress,
                 QList<ArchiveEntry> *entries, QString *reason)
{
    ArchiveSource source;
    if (!source.open(archive, reason))
        return false;
    qint64 count = 0;
    if (!source.readInt32(&count)) {
        setReason(reason, QStringLiteral("arhiva este prea scurta"));
        return false;
    }
    if (count < 0 || count > source.left() / kSmallestEntry) {
        setReason(reason, QStringLiteral("numarul de fisiere %1 nu este posibil pentru marimea arhivei").arg(count));
        return false;
    }
    if (progress)
        progress(0, count);
    QSet<QString> seen;
    for (int i = 0; i < count; ++i) {
        qint64 nameLength = 0;
        if (!source.readInt32(&nameLength)) {
            setReason(reason, QStringLiteral("arhiva se termina inainte de ") + entryLabel(i));
            return false;
        }
        if (nameLength < 1 || nameLength > kMaxNameLength || nameLength > source.left()) {
            setReason(reason, entryLabel(i) + QStringLiteral(": lungimea numelui %1 nu este posibila").arg(nameLength));
            return false;
        }
        QByteArray nameBytes(qsizetype(nameLength), '\0');
        if (!source.read(nameBytes.data(), nameLength)) {
            setReason(reason, QStringLiteral("arhiva se termina in numele ") + entryLabel(i));
            return false;
        }
        ArchiveEntry entry;
        entry.name = dbf::decodeText(nameBytes.constData(), int(nameBytes.size()));
        if (!IsSafeEntryName(entry.name)) {
            setReason(reason, entryLabel(i) + QStringLiteral(": numele \"%1\" nu este un nume de fisier permis")
                                                  .arg(entry.name.toHtmlEscaped()));
            return false;
        }
        if (seen.contains(entry.name.toLower())) {
            setReason(reason, entryLabel(i, entry.name) + QStringLiteral(": numele apare de doua ori"));
            return false;
        }
        seen.insert(entry.name.toLower());
        if (!source.readInt32(&entry.size)) {
            setReason(reason, QStringLiteral("arhiva se termina inainte de marimea ") + entryLabel(i, entry.name));
            return false;
        }
        if (entry.size < 0 || entry.size > kMaxEntrySize || entry.size > source.left() * kMaxInflateRatio) {
            setReason(reason, entryLabel(i, entry.name)
                                  + QStringLiteral(": marimea declarata %1 nu este posibila").arg(entry.size));
            return false;
        }
        QString problem;
        if (!sink.begin(entry, &problem)) {
            setReason(reason, entryLabel(i, entry.name) + QStringLiteral(": ") + problem);
            return false;
        }
        const auto tick = [&] {
            if (progress)
                progress(i, count);
        };
        if (!inflateEntry(source, entry.size, sink, tick, &problem) || !sink.finish()) {
            sink.discard();
            setReason(reason, entryLabel(i, entry.name) + QStringLiteral(": ")
                                  + (problem.isEmpty() ? QStringLiteral("fisierul nu poate fi scris") : problem));
            return false;
        }
        if (entries)
            entries->append(entry);
        if (progress)
            progress(i + 1, count);
    }
    if (source.left() > 0) {
        setReason(reason, QStringLiteral("dupa ultimul fisier urmeaza %1 octeti necunoscuti").arg(source.left()));
        return false;
    }
    return true;
}

} // namespace

bool IsSafeEntryName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'/' || u == u'\\' || u == u':' || u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return false;
    }
    return true;
}

bool WriteArchive(const QString &folder, const QStringList &names, QIODevice &out, const ArchiveProgress &progress,
                  QString *reason, int threads)
{
    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    const QDir dir(folder);
    QStringList paths;
    QList<QByteArray> headers;
    std::vector<Piece> pieces;
    for (int i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        QByteArray encoded;
        if (!IsSafeEntryName(name) || !dbf::encodeText(name, encoded) || encoded.size() > kMaxNameLength) {
            setReason(reason, QStringLiteral("numele \"%1\" nu poate intra intr-o arhiva").arg(name));
            return false;
        }
        const QString path = dir.filePath(name);
        const QFileInfo info(path);
        if (!info.isFile()) {
            setReason(reason, QStringLiteral("fisierul \"%1\" nu poate fi citit").arg(name));
            return false;
        }
        if (info.size() > kMaxEntrySize) {
            setReason(reason, QStringLiteral("fisierul \"%1\" este prea mare pentru o arhiva").arg(name));
            return false;
        }
        paths.append(path);
        headers.append(littleEndian32(encoded.size()) + encoded + littleEndian32(info.size())
                       + QByteArray(reinterpret_cast<const char *>(kZlibHeader), 2));
        qint64 offset = 0;
        do {
            Piece piece;
            piece.entry = i;
            piece.offset = offset;
            piece.length = std::min(kChunkSize, info.size() - offset);
            offset += piece.length;
            piece.last = offset >= info.size();
            pieces.push_back(piece);
        } while (offset < info.size());
    }

    qint64 totalBytes = 0;
    for (const Piece &piece : pieces)
        totalBytes += piece.length;
    qint64 packedBytes = 0;
    PiecePipeline pipeline(paths, std::move(pieces), threads > 1 ? threads : 0);
    if (!writeAll(out, littleEndian32(names.size()))) {
        setReason(reason, QStringLiteral("arhiva nu poate fi scrisa (%1)").arg(out.errorString()));
        return false;
    }
    uLong adler = 1;
    for (size_t p = 0; p < pipeline.size(); ++p) {
        const Piece &piece = pipeline.piece(p);
        if (piece.offset == 0 && !writeAll(out, headers.at(piece.entry))) {
            setReason(reason, QStringLiteral("arhiva nu poate fi scrisa (%1)").arg(out.errorString()));
            return false;
        }
        const Deflated deflated = pipeline.take(p);
        if (!deflated.problem.isEmpty()) {
            setReason(reason, deflated.problem);
            return false;
        }
        adler = piece.offset == 0 ? deflated.adler : adler32_combine(adler, deflated.adler, z_off_t(piece.length));
        if (!writeAll(out, deflated.data) || (piece.last && !writeAll(out, bigEndian32(quint32(adler))))) {
            setReason(reason, QStringLiteral("arhiva nu poate fi scrisa (%1)").arg(out.errorString()));
            return false;
        }
        packedBytes += piece.length;
        if (progress)
            progress(packedBytes, totalBytes);
    }
    return true;
}

bool UnpackArchive(const QString &archive, const QString &folder, const ArchiveProgress &progress, QString *reason)
{
    FolderSink sink(folder);
    return readArchive(archive, sink, progress, nullptr, reason);
}

bool CheckArchive(const QString &archive, QList<ArchiveEntry> *entries, QString *reason)
{
    CountingSink sink;
    return readArchive(archive, sink, {}, entries, reason);
}

} // namespace backup
