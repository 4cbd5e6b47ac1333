#include "reports/xls/compoundfile.h"

#include "reports/xls/xlserror.h"

#include <QtEndian>

#include <algorithm>
#include <functional>

namespace xls {

namespace {

constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoEntry = 0xFFFFFFFF;
constexpr int kMiniSectorSize = 64;
constexpr quint32 kMiniStreamCutoff = 4096;
constexpr int kEntrySize = 128;
constexpr int kHeaderDifatEntries = 109;
const QByteArray kSignature = QByteArray::fromHex("D0CF11E0A1B11AE1");

enum EntryType : quint8 { EntryEmpty = 0, EntryStorage = 1, EntryStream = 2, EntryRoot = 5 };

quint32 u32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 u16(const char *p) { return qFromLittleEndian<quint16>(p); }

void put32(QByteArray &b, int at, quint32 v) { qToLittleEndian<quint32>(v, b.data() + at); }
void put16(QByteArray &b, int at, quint16 v) { qToLittleEndian<quint16>(v, b.data() + at); }

[[noreturn]] void damaged(const QString &what)
{
    throw XlsError(QStringLiteral("containerul fisierului este deteriorat (%1)").arg(what));
}

// Reads the sectors and chains of one file.
class SectorReader {
public:
    explicit SectorReader(const QByteArray &bytes) : bytes_(bytes)
    {
        if (bytes.size() < 512 || !bytes.startsWith(kSignature))
            throw XlsError(QStringLiteral("fisierul nu este un registru de calcul in formatul .xls"));
        const quint16 shift = u16(bytes.constData() + 30);
        if (shift != 9 && shift != 12)
            damaged(QStringLiteral("marimea sectoarelor"));
        sectorSize_ = 1 << shift;
        sectorCount_ = quint32((qint64(bytes.size()) - sectorSize_ + sectorSize_ - 1) / sectorSize_);
        readFat();
    }

    int sectorSize() const { return sectorSize_; }
    quint32 header32(int at) const { return u32(bytes_.constData() + at); }

    // The bytes of a sector; a last sector cut short by the file's end is
    // completed with zeros, one that lies wholly past the end is damage.
    QByteArray sector(quint32 id) const
    {
        const qint64 offset = (qint64(id) + 1) * sectorSize_;
        if (id >= sectorCount_ || offset >= bytes_.size())
            damaged(QStringLiteral("sectorul %1 este dincolo de sfarsitul fisierului").arg(id));
        QByteArray data = bytes_.mid(offset, sectorSize_);
        data.resize(sectorSize_, '\0');
        return data;
    }

    // The sectors of a chain in the allocation table `table`, in order.
    static std::vector<quint32> chain(const std::vector<quint32> &table, quint32 start, const QString &what)
    {
        std::vector<quint32> ids;
        for (quint32 id = start; id != kEndOfChain;) {
            if (id >= table.size() || ids.size() >= table.size())
                damaged(what);
            ids.push_back(id);
            id = table[id];
        }
        return ids;
    }

    QByteArray chainData(quint32 start, const QString &what) const
    {
        QByteArray data;
        for (quint32 id : chain(fat_, start, what))
            data += sector(id);
        return data;
    }

    const std::vector<quint32> &fat() const { return fat_; }

private:
    void readFat()
    {
        const quint32 fatSectors = header32(44);
        std::vector<quint32> fatIds;
        for (int i = 0; i < kHeaderDifatEntries && fatIds.size() < fatSectors; ++i)
            fatIds.push_back(header32(76 + 4 * i));
        quint32 difat = header32(68);
        const int perDifat = sectorSize_ / 4 - 1;
        for (quint32 guard = 0; fatIds.size() < fatSectors; ++guard) {
            if (difat >= sectorCount_ || guard > sectorCount_)
                damaged(QStringLiteral("tabela de alocare este incompleta"));
            const QByteArray s = sector(difat);
            for (int i = 0; i < perDifat && fatIds.size() < fatSectors; ++i)
                fatIds.push_back(u32(s.constData() + 4 * i));
            difat = u32(s.constData() + 4 * perDifat);
        }
        for (quint32 id : fatIds) {
            const QByteArray s = sector(id);
            for (int i = 0; i < sectorSize_ / 4; ++i)
                fat_.push_back(u32(s.constData() + 4 * i));
        }
        if (fat_.empty())
            damaged(QStringLiteral("tabela de alocare lipseste"));
    }

    const QByteArray &bytes_;
    int sectorSize_ = 512;
    quint32 sectorCount_ = 0;
    std::vector<quint32> fat_;
};

struct RawEntry {
    QString name;
    quint8 type = EntryEmpty;
    quint32 left = kNoEntry, right = kNoEntry, child = kNoEntry;
    QByteArray classId, times;
    quint32 stateBits = 0;
    quint32 start = kEndOfChain;
    quint32 size = 0;
};

std::vector<RawEntry> parseDirectory(const QByteArray &dir)
{
    std::vector<RawEntry> entries;
    for (int at = 0; at + kEntrySize <= dir.size(); at += kEntrySize) {
        const char *p = dir.constData() + at;
        RawEntry e;
        const int nameBytes = std::min<int>(u16(p + 64), 64);
        e.name = QString::fromUtf16(reinterpret_cast<const char16_t *>(p), std::max(0, nameBytes / 2 - 1));
        e.type = quint8(p[66]);
        e.left = u32(p + 68);
        e.right = u32(p + 72);
        e.child = u32(p + 76);
        e.classId = QByteArray(p + 80, 16);
        e.stateBits = u32(p + 96);
        e.times = QByteArray(p + 100, 16);
        e.start = u32(p + 116);
        e.size = u32(p + 120);
        entries.push_back(e);
    }
    return entries;
}

// Order of siblings in a storage's tree: shorter names first, then by the
// upper-case name.
bool siblingLess(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size();
    return a.toUpper() < b.toUpper();
}

} // namespace

CompoundFile CompoundFile::read(const QByteArray &bytes)
{
    SectorReader reader(bytes);
    const std::vector<RawEntry> entries =
        parseDirectory(reader.chainData(reader.header32(48), QStringLiteral("lantul directorului")));
    if (entries.empty() || entries[0].type != EntryRoot)
        damaged(QStringLiteral("intrarea radacina lipseste"));
    const quint32 cutoff = reader.header32(56) ? reader.header32(56) : kMiniStreamCutoff;

    const RawEntry &rootRaw = entries[0];
    QByteArray miniStream;
    if (rootRaw.start != kEndOfChain && rootRaw.size > 0) {
        miniStream = reader.chainData(rootRaw.start, QStringLiteral("lantul fluxului mic"));
        if (quint32(miniStream.size()) < rootRaw.size)
            damaged(QStringLiteral("fluxul mic este scurtat"));
    }
    std::vector<quint32> miniFat;
    if (reader.header32(60) != kEndOfChain && reader.header32(64) > 0) {
        const QByteArray table = reader.chainData(reader.header32(60), QStringLiteral("tabela fluxului mic"));
        for (int i = 0; i + 4 <= table.size(); i += 4)
            miniFat.push_back(u32(table.constData() + i));
    }

    auto streamData = [&](const RawEntry &e) -> QByteArray {
        if (e.size == 0)
            return {};
        QByteArray data;
        if (e.size < cutoff) {
            for (quint32 id : SectorReader::chain(miniFat, e.start, QStringLiteral("fluxul %1").arg(e.name))) {
                if ((qint64(id) + 1) * kMiniSectorSize > miniStream.size())
                    damaged(QStringLiteral("fluxul %1").arg(e.name));
                data += miniStream.mid(qint64(id) * kMiniSectorSize, kMiniSectorSize);
            }
        } else {
            data = reader.chainData(e.start, QStringLiteral("fluxul %1").arg(e.name));
        }
        if (quint32(data.size()) < e.size)
            damaged(QStringLiteral("fluxul %1 este scurtat").arg(e.name));
        data.truncate(e.size);
        return data;
    };

    std::vector<bool> seen(entries.size(), false);
    std::function<void(quint32, CompoundEntry &)> collect = [&](quint32 id, CompoundEntry &parent) {
        if (id == kNoEntry)
            return;
        if (id >= entries.size() || seen[id])
            damaged(QStringLiteral("arborele directorului"));
        seen[id] = true;
        const RawEntry &e = entries[id];
        collect(e.left, parent);
        if (e.type == EntryStorage || e.type == EntryStream) {
            CompoundEntry entry;
            entry.name = e.name;
            entry.storage = e.type == EntryStorage;
            entry.classId = e.classId;
            entry.stateBits = e.stateBits;
            entry.times = e.times;
            if (entry.storage)
                collect(e.child, entry);
            else
                entry.data = streamData(e);
            parent.children.push_back(std::move(entry));
        }
        collect(e.right, parent);
    };

    CompoundFile file;
    file.root.name = rootRaw.name;
    file.root.storage = true;
    file.root.classId = rootRaw.classId;
    file.root.stateBits = rootRaw.stateBits;
    file.root.times = rootRaw.times;
    seen[0] = true;
    collect(rootRaw.child, file.root);
    return file;
}

QByteArray *CompoundFile::stream(const QString &name)
{
    for (CompoundEntry &e : root.children)
        if (!e.storage && e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e.data;
    return nullptr;
}

const QByteArray *CompoundFile::stream(const QString &name) const
{
    return const_cast<CompoundFile *>(this)->stream(name);
}

void CompoundFile::setStream(const QString &name, const QByteArray &data)
{
    if (QByteArray *existing = stream(name)) {
        *existing = data;
        return;
    }
    CompoundEntry e;
    e.name = name;
    e.data = data;
    root.children.push_back(std::move(e));
}

QByteArray CompoundFile::write() const
{
    constexpr int sectorSize = 512;
    constexpr int perSector = sectorSize / 4;

    // Flatten the tree: entry 0 is the root, each storage's children follow in
    // depth-first order; siblings are linked as a balanced search tree.
    struct Flat {
        const CompoundEntry *entry;
        quint8 type;
        quint32 left = kNoEntry, right = kNoEntry, child = kNoEntry;
        quint32 start = kEndOfChain;
        quint32 size = 0;
    };
    std::vector<Flat> flat;
    flat.push_back({&root, EntryRoot});
    std::function<quint32(const std::vector<CompoundEntry> &)> addChildren =
        [&](const std::vector<CompoundEntry> &children) -> quint32 {
        std::vector<const CompoundEntry *> sorted;
        for (const CompoundEntry &c : children)
            sorted.push_back(&c);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const CompoundEntry *a, const CompoundEntry *b) { return siblingLess(a->name, b->name); });
        std::vector<quint32> ids;
        for (const CompoundEntry *c : sorted) {
            ids.push_back(quint32(flat.size()));
            flat.push_back({c, c->storage ? EntryStorage : EntryStream});
        }
        for (size_t i = 0; i < sorted.size(); ++i)
            if (sorted[i]->storage)
                flat[ids[i]].child = addChildren(sorted[i]->children);
        std::function<quint32(int, int)> link = [&](int lo, int hi) -> quint32 {
            if (lo > hi)
                return kNoEntry;
            const int mid = (lo + hi) / 2;
            flat[ids[mid]].left = link(lo, mid - 1);
            flat[ids[mid]].right = link(mid + 1, hi);
            return ids[mid];
        };
        return link(0, int(sorted.size()) - 1);
    };
    flat[0].child = addChildren(root.children);

    // Place the streams: large ones in sectors of their own, small ones in
    // the mini stream.
    // The whole file in one buffer, so that a large stream is copied once:
    // the header (filled in at the end), then sector 0, 1, ...
    qint64 payload = 0;
    for (const Flat &f : flat)
        payload += f.type == EntryStream ? f.entry->data.size() : 0;
    QByteArray out(sectorSize, '\0');
    out.reserve(payload + payload / 64 + 64 * sectorSize);
    QByteArray &sectors = out;
    QByteArray miniStream;
    std::vector<quint32> fat;
    std::vector<quint32> miniFat;
    auto appendChain = [](std::vector<quint32> &table, quint32 count) -> quint32 {
        const quint32 first = quint32(table.size());
        for (quint32 i = 0; i < count; ++i)
            table.push_back(i + 1 == count ? kEndOfChain : first + i + 1);
        return first;
    };
    auto padTo = [](QByteArray &b, int unit) {
        if (b.size() % unit)
            b.append(unit - b.size() % unit, '\0');
    };
    for (Flat &f : flat) {
        if (f.type != EntryStream || f.entry->data.isEmpty())
            continue;
        const QByteArray &data = f.entry->data;
        f.size = quint32(data.size());
        if (f.size >= kMiniStreamCutoff) {
            f.start = appendChain(fat, quint32((data.size() + sectorSize - 1) / sectorSize));
            sectors += data;
            padTo(sectors, sectorSize);
        } else {
            f.start = appendChain(miniFat, quint32((data.size() + kMiniSectorSize - 1) / kMiniSectorSize));
            miniStream += data;
            padTo(miniStream, kMiniSectorSize);
        }
    }
    if (!miniStream.isEmpty()) {
        flat[0].size = quint32(miniStream.size());
        padTo(miniStream, sectorSize);
        flat[0].start = appendChain(fat, quint32(miniStream.size() / sectorSize));
        sectors += miniStream;
    }
    quint32 miniFatStart = kEndOfChain;
    quint32 miniFatSectors = 0;
    if (!miniFat.empty()) {
        QByteArray table(int(miniFat.size()) * 4, '\0');
        for (size_t i = 0; i < miniFat.size(); ++i)
            put32(table, int(i) * 4, miniFat[i]);
        table.append((sectorSize - table.size() % sectorSize) % sectorSize, char(0xFF));
        miniFatSectors = quint32(table.size() / sectorSize);
        miniFatStart = appendChain(fat, miniFatSectors);
        sectors += table;
    }

    QByteArray dir;
    for (const Flat &f : flat) {
        QByteArray e(kEntrySize, '\0');
        const QString name = f.entry->name.left(31);
        for (int i = 0; i < name.size(); ++i)
            put16(e, 2 * i, name.at(i).unicode());
        put16(e, 64, quint16((name.size() + 1) * 2));
        e[66] = char(f.type);
        e[67] = 1; // black: every tree is balanced already
        put32(e, 68, f.left);
        put32(e, 72, f.right);
        put32(e, 76, f.child);
        if (f.type != EntryStream)
            e.replace(80, 16, f.entry->classId.left(16).leftJustified(16, '\0'));
        put32(e, 96, f.entry->stateBits);
        e.replace(100, 16, f.entry->times.left(16).leftJustified(16, '\0'));
        put32(e, 116, f.start);
        put32(e, 120, f.size);
        dir += e;
    }
    while (dir.size() % sectorSize) {
        QByteArray empty(kEntrySize, '\0');
        put32(empty, 68, kNoEntry);
        put32(empty, 72, kNoEntry);
        put32(empty, 76, kNoEntry);
        dir += empty;
    }
    const quint32 dirStart = appendChain(fat, quint32(dir.size() / sectorSize));
    sectors += dir;

    // The allocation table covers itself and the sectors that list it.
    const quint32 used = quint32(fat.size());
    quint32 fatCount = 1, difatCount = 0;
    for (;;) {
        difatCount = fatCount > kHeaderDifatEntries ? (fatCount - kHeaderDifatEntries + perSector - 2) / (perSector - 1) : 0;
        if (fatCount * perSector >= used + fatCount + difatCount)
            break;
        ++fatCount;
    }
    const quint32 fatStart = used;
    for (quint32 i = 0; i < fatCount; ++i)
        fat.push_back(kFatSector);
    const quint32 difatStart = quint32(fat.size());
    for (quint32 i = 0; i < difatCount; ++i)
        fat.push_back(kDifatSector);
    fat.resize(fatCount * perSector, kFreeSector);
    QByteArray fatBytes(int(fat.size()) * 4, '\0');
    for (size_t i = 0; i < fat.size(); ++i)
        put32(fatBytes, int(i) * 4, fat[i]);
    sectors += fatBytes;
    for (quint32 d = 0; d < difatCount; ++d) {
        QByteArray s(sectorSize, char(0xFF));
        for (int i = 0; i < perSector - 1; ++i) {
            const quint32 index = kHeaderDifatEntries + d * (perSector - 1) + quint32(i);
            if (index < fatCount)
                put32(s, 4 * i, fatStart + index);
        }
        put32(s, sectorSize - 4, d + 1 < difatCount ? difatStart + d + 1 : kEndOfChain);
        sectors += s;
    }

    QByteArray header(sectorSize, '\0');
    header.replace(0, 8, kSignature);
    put16(header, 24, 0x003E);
    put16(header, 26, 3);
    put16(header, 28, 0xFFFE);
    put16(header, 30, 9);
    put16(header, 32, 6);
    put32(header, 44, fatCount);
    put32(header, 48, dirStart);
    put32(header, 56, kMiniStreamCutoff);
    put32(header, 60, miniFatStart);
    put32(header, 64, miniFatSectors);
    put32(header, 68, difatCount ? difatStart : kEndOfChain);
    put32(header, 72, difatCount);
    for (int i = 0; i < kHeaderDifatEntries; ++i)
        put32(header, 76 + 4 * i, quint32(i) < fatCount ? fatStart + quint32(i) : kFreeSector);
    out.replace(0, sectorSize, header);
    return out;
}

} // namespace xls
