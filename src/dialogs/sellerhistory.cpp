#include "dialogs/sellerhistory.h"

#include "datastore/dbf/codepage.h"
#include "datastore/dbf/dbfformat.h"
#include "datastore/dbf/journal.h"
#include "datastore/dbf/tablefile.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/collation.h"
#include "datastore/sql/database.h"
#include "dialogs/cnprules.h"
#include "dialogs/workingtables.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

const QString Temp = QStringLiteral("TEMP");

// The text keys of "TEMP" with the field each one holds.
QList<std::pair<const char *, QString SellerLine::*>> textKeys()
{
    return {{"VANZATOR", &SellerLine::vanzator}, {"CNPCUI", &SellerLine::cnpcui},   {"LOCV", &SellerLine::locv},
            {"ADRESA", &SellerLine::adresa},     {"BI", &SellerLine::bi},           {"BISERIA", &SellerLine::biseria},
            {"BINR", &SellerLine::binr},         {"BIELIB", &SellerLine::bielib},   {"TEL", &SellerLine::tel},
            {"MANDATAR", &SellerLine::mandatar}, {"MCALITATE", &SellerLine::mcalitate},
            {"MCONFORM", &SellerLine::mconform}, {"MCNPCUI", &SellerLine::mcnpcui}, {"MLOCV", &SellerLine::mlocv},
            {"MADRESA", &SellerLine::madresa},   {"MCODPOST", &SellerLine::mcodpost}, {"MBI", &SellerLine::mbi},
            {"MBISERIA", &SellerLine::mbiseria}, {"MBINR", &SellerLine::mbinr},   {"MBIELIB", &SellerLine::mbielib},
            {"MTEL", &SellerLine::mtel}};
}

qint64 wholeNumber(const char *key)
{
    return ReadSettingNumber(Temp, QLatin1String(key)) / 10000;
}

QDate dayOf(const char *key)
{
    return ZeroDate().addDays(wholeNumber(key));
}

qint64 dayCount(const QDate &date)
{
    return date.isValid() ? ZeroDate().daysTo(date) : 0;
}

// What a table file looks like from outside: any write by any process
// changes its modification time (nanoseconds) or its size.
struct FileStamp {
    QString path;
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    bool operator==(const FileStamp &) const = default;
};

bool stampOf(const QString &path, FileStamp &stamp)
{
    std::error_code error;
    const std::filesystem::path file(path.toStdString());
    stamp.path = path;
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error)
        return false;
    stamp.size = std::filesystem::file_size(file, error);
    return !error;
}

// The engine's Romanian order (a, ă, â, b ... s, ș, t, ț ..., case ignored)
// taken byte by byte for Windows-1250 text: each byte's rank among the
// alphabet weights and among the exact letters of the order, learnt once
// from the order's own sort key, so that a key is built from stored bytes
// without decoding them and compares as romanianSortKey of their text does.
struct ByteOrder {
    std::array<quint16, 256> alphabet{};
    std::array<quint16, 256> letter{};

    ByteOrder()
    {
        // The key of a byte followed by "a": the byte's alphabet weight, that
        // of "a", the mark, the byte's exact letter, that of "a" (three bytes
        // each); the "a" keeps a blank from being dropped as trailing.
        std::array<quint32, 256> alphabetWeight{}, letterWeight{};
        const auto weightAt = [](const QByteArray &key, int index) {
            const auto *k = reinterpret_cast<const unsigned char *>(key.constData()) + 3 * index;
            return (quint32(k[0]) << 16) | (quint32(k[1]) << 8) | quint32(k[2]);
        };
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QByteArray key = sqlstore::romanianSortKey(dbf::decodeText(&byte, 1) + QLatin1Char('a'));
            alphabetWeight[b] = weightAt(key, 0);
            letterWeight[b] = weightAt(key, 3);
        }
        rank(alphabetWeight, alphabet);
        rank(letterWeight, letter);
    }

    // Replaces weights by their rank among the weights that occur, keeping
    // 0 (the weight of the mark, and of NUL) at 0.
    static void rank(const std::array<quint32, 256> &weights, std::array<quint16, 256> &ranks)
    {
        std::vector<quint32> sorted(weights.begin(), weights.end());
        sorted.push_back(0);
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        for (int b = 0; b < 256; ++b)
            ranks[b] = quint16(std::lower_bound(sorted.begin(), sorted.end(), weights[b]) - sorted.begin());
    }

    // Appends the key of `length` bytes (trailing blanks already dropped):
    // two bytes for each rank, the alphabet first, then the mark, then the
    // exact letters.
    void appendKey(const char *bytes, int length, std::string &key) const
    {
        const size_t start = key.size();
        key.resize(start + 4 * size_t(length) + 2);
        char *out = key.data() + start;
        const auto put = [&out](quint16 rank) {
            *out++ = char(rank >> 8);
            *out++ = char(rank);
        };
        for (int i = 0; i < length; ++i)
            put(alphabet[(unsigned char)bytes[i]]);
        put(0);
        for (int i = 0; i < length; ++i)
            put(letter[(unsigned char)bytes[i]]);
    }
};

const ByteOrder &byteOrder()
{
    static const ByteOrder order;
    return order;
}

// The order in which `texts` (stored bytes without trailing blanks) stand in
// the engine's Romanian order, as numbers into `texts`; equal texts keep
// their order.
std::vector<size_t> romanianOrder(const std::vector<std::string_view> &texts)
{
    std::string keys;
    std::vector<size_t> keyStart;
    keyStart.reserve(texts.size() + 1);
    for (const std::string_view text : texts) {
        keyStart.push_back(keys.size());
        byteOrder().appendKey(text.data(), int(text.size()), keys);
    }
    keyStart.push_back(keys.size());
    const std::string_view all(keys);
    const auto keyOf = [&](size_t i) { return all.substr(keyStart[i], keyStart[i + 1] - keyStart[i]); };
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = keyOf(a).compare(keyOf(b));
        return c != 0 ? c < 0 : a < b;
    });
    return order;
}

// Distinct byte strings, numbered from 0 in the order first met.
class DistinctBytes {
public:
    explicit DistinctBytes(size_t expected = 8)
    {
        spans_.reserve(expected);
        resize(expected);
    }

    // The number of `bytes`; *added tells whether they were met only now.
    size_t number(std::string_view bytes, bool *added)
    {
        if (2 * (spans_.size() + 1) > slots_.size())
            resize(2 * slots_.size());
        for (size_t slot = slotOf(bytes);; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot] == 0) {
                spans_.emplace_back(stored_.size(), bytes.size());
                stored_.append(bytes);
                slots_[slot] = quint32(spans_.size());
                *added = true;
                return spans_.size() - 1;
            }
            if (at(slots_[slot] - 1) == bytes) {
                *added = false;
                return slots_[slot] - 1;
            }
        }
    }

    size_t size() const { return spans_.size(); }
    // Valid until the next call of number().
    std::string_view at(size_t number) const
    {
        return std::string_view(stored_).substr(spans_[number].first, spans_[number].second);
    }

private:
    size_t slotOf(std::string_view bytes) const { return std::hash<std::string_view>()(bytes) & (slots_.size() - 1); }

    // At least twice as many slots as `count`, so that a search ends soon.
    void resize(size_t count)
    {
        size_t n = 16;
        while (n < 2 * count)
            n *= 2;
        slots_.assign(n, 0);
        for (size_t i = 0; i < spans_.size(); ++i) {
            size_t slot = slotOf(at(i));
            while (slots_[slot] != 0)
                slot = (slot + 1) & (n - 1);
            slots_[slot] = quint32(i + 1);
        }
    }

    std::string stored_;
    // Start and length in stored_ of each string.
    std::vector<std::pair<size_t, size_t>> spans_;
    // Number + 1 of the string in each slot, 0 for a free slot.
    std::vector<quint32> slots_;
};

// What the seller dialog offers from the seller table.
struct SellerChoices {
    QList<EarlierSeller> sellers;
    QStringList capacities;
};

// The choices as last read, with the stamp of the file they were read from.
struct SellerChoicesCache {
    FileStamp stamp;
    bool valid = false;
    SellerChoices choices;
};

SellerChoicesCache &sellerChoicesCache()
{
    static SellerChoicesCache cache;
    return cache;
}

// Holds the seller table for reading the way a statement does: the data
// folder shared (so the read never meets another workstation's transaction
// half done) and the table under a shared lock.
class SellerTableReading {
public:
    explicit SellerTableReading(const QString &path)
        : folder_(dbf::FolderJournal::of(QFileInfo(path).absolutePath()))
    {
        folder_->beginStatement();
        try {
            table_ = dbf::TableFile::open(path);
            table_->begin(dbf::LockMode::Shared);
        } catch (...) {
            folder_->endStatement();
            throw;
        }
    }
    ~SellerTableReading()
    {
        table_->end();
        folder_->endStatement();
    }
    SellerTableReading(const SellerTableReading &) = delete;
    SellerTableReading &operator=(const SellerTableReading &) = delete;

    dbf::TableFile &table() { return *table_; }

    // The field named `name` of one of `types`; throws DbfError naming the
    // table otherwise.
    const dbf::Field &field(const char *name, const char *types) const
    {
        const int index = table_->fieldIndex(QLatin1String(name));
        if (index < 0)
            throw dbf::DbfError(QStringLiteral("Tabela %1: campul %2 nu exista")
                                    .arg(QDir::toNativeSeparators(table_->path()), QLatin1String(name)));
        const dbf::Field &f = table_->fields().at(index);
        if (!std::strchr(types, f.type))
            throw dbf::DbfError(QStringLiteral("Tabela %1: campul %2 are tipul %3")
                                    .arg(QDir::toNativeSeparators(table_->path()), QLatin1String(name), QChar(f.type)));
        return f;
    }

private:
    std::shared_ptr<dbf::FolderJournal> folder_;
    std::shared_ptr<dbf::TableFile> table_;
};

// IDV as the statement gives it to toLongLong(): blank or damaged is 0.
qlonglong idvOf(const dbf::Field &f, const char *record)
{
    bool isInteger = false;
    qint64 integer = 0;
    double real = 0;
    if (dbf::readNumber(record + f.offset, f.width, &isInteger, &integer, &real) != dbf::ValueState::Ok)
        return 0;
    if (isInteger && f.decimals == 0)
        return integer;
    return QVariant(isInteger ? double(integer) : real).toLongLong();
}

// The earlier sellers are the statement "SELECT MAX(IDV) AS IDV, VANZATOR,
// CNPCUI ... GROUP BY VANZATOR, CNPCUI ORDER BY VANZATOR" (names equal in the
// order keep the order of their first lines), the capacities "SELECT
// DISTINCT MCALITATE ... ORDER BY MCALITATE" without the empty ones, both
// worked out here on the table file's own bytes in one pass. A busy town
// hall has tens of thousands of distinct sellers: reading them through SQL,
// grouping decoded texts and sorting them took several times what an
// opening may, so the lines are grouped on their stored bytes (without
// trailing blanks, which is how the engine compares text), each distinct
// name is decoded once, and the sort keys of the engine's order are built
// from the bytes.
SellerChoices readSellerChoices()
{
    SellerTableReading reading(TablePath(QStringLiteral("Vanzatori.dbf")));
    dbf::TableFile &table = reading.table();
    const dbf::Field &idvField = reading.field("IDV", "NF");
    const dbf::Field &nameField = reading.field("VANZATOR", "C");
    const dbf::Field &codeField = reading.field("CNPCUI", "C");
    const dbf::Field &capacityField = reading.field("MCALITATE", "C");
    const auto textOf = [](const dbf::Field &f, const char *record) {
        return std::string_view(record + f.offset, size_t(dbf::trimmedLength(record + f.offset, f.width)));
    };
    const quint32 rows = table.rowCount();
    // Each distinct name and code as one key, the name's length and the
    // largest IDV, in the order of their first lines.
    DistinctBytes pairs(rows);
    std::vector<std::pair<size_t, qlonglong>> pairNameAndIdv;
    pairNameAndIdv.reserve(rows);
    DistinctBytes capacities;
    std::string key;
    bool added = false;
    for (quint32 row = 0; row < rows; ++row) {
        const dbf::Record record = table.record(row);
        if (record.deleted())
            continue;
        const std::string_view name = textOf(nameField, record.data);
        // Name and code as one key: a unit separator cannot stand in either.
        key.assign(name).append(1, '\x1f').append(textOf(codeField, record.data));
        const qlonglong idv = idvOf(idvField, record.data);
        const size_t pair = pairs.number(key, &added);
        if (added)
            pairNameAndIdv.emplace_back(name.size(), idv);
        else
            pairNameAndIdv[pair].second = std::max(pairNameAndIdv[pair].second, idv);
        const std::string_view capacity = textOf(capacityField, record.data);
        if (!capacity.empty())
            capacities.number(capacity, &added);
    }

    SellerChoices choices;
    std::vector<std::string_view> texts;
    texts.reserve(pairs.size());
    for (size_t i = 0; i < pairs.size(); ++i)
        texts.push_back(pairs.at(i).substr(0, pairNameAndIdv[i].first));
    choices.sellers.reserve(qsizetype(texts.size()));
    for (const size_t i : romanianOrder(texts))
        choices.sellers.append({dbf::decodeText(texts[i].data(), int(texts[i].size())), pairNameAndIdv[i].second});
    texts.clear();
    for (size_t i = 0; i < capacities.size(); ++i)
        texts.push_back(capacities.at(i));
    for (const size_t i : romanianOrder(texts)) {
        const QString capacity = dbf::decodeText(texts[i].data(), int(texts[i].size()));
        if (!capacity.trimmed().isEmpty())
            choices.capacities.append(capacity);
    }
    return choices;
}

// The choices of the seller table as it is now. Reading every seller line of
// a busy town hall takes longer than an opening of the dialog should, so they
// are kept while the file has not changed; any write to it, from any
// workstation, makes them read anew.
const SellerChoices &sellerChoices()
{
    SellerChoicesCache &cache = sellerChoicesCache();
    FileStamp before;
    const bool stamped = stampOf(TablePath(QStringLiteral("Vanzatori.dbf")), before);
    if (stamped && cache.valid && cache.stamp == before)
        return cache.choices;
    // Nothing is kept from a reading that failed.
    cache.valid = false;
    try {
        cache.choices = readSellerChoices();
    } catch (const dbf::DbfError &e) {
        throw sqlstore::SqlError(e.message());
    }
    FileStamp after;
    // Kept only when nothing wrote to the file while it was read.
    cache.valid = stamped && stampOf(before.path, after) && after == before;
    cache.stamp = before;
    return cache.choices;
}

} // namespace

QList<EarlierSeller> EarlierSellers()
{
    return sellerChoices().sellers;
}

QStringList MandataryCapacities()
{
    return sellerChoices().capacities;
}

bool SellerLineById(qlonglong idv, SellerLine &line)
{
    sqlstore::Query q = sqlstore::database().query(
        QStringLiteral("SELECT * FROM ") + QuotedTablePath(QStringLiteral("Vanzatori.dbf")) + QStringLiteral(" WHERE IDV=?"),
        {idv});
    if (q.isEmpty())
        return false;
    line = SellerLineOf(q);
    return true;
}

LastSeller ReadLastSeller()
{
    LastSeller last;
    for (const auto &[key, field] : textKeys())
        last.line.*field = ReadSetting(Temp, QLatin1String(key));
    last.judet = int(wholeNumber("JUDET"));
    last.mjudet = int(wholeNumber("MJUDET"));
    last.line.bidata = dayOf("BIDATA");
    last.line.mbidata = dayOf("MBIDATA");
    return last;
}

void WriteLastSeller(const LastSeller &last)
{
    for (const auto &[key, field] : textKeys())
        WriteSetting(Temp, QLatin1String(key), last.line.*field);
    WriteSettingNumber(Temp, QStringLiteral("JUDET"), qint64(last.judet) * 10000);
    WriteSettingNumber(Temp, QStringLiteral("MJUDET"), qint64(last.mjudet) * 10000);
    WriteSettingNumber(Temp, QStringLiteral("BIDATA"), dayCount(last.line.bidata) * 10000);
    WriteSettingNumber(Temp, QStringLiteral("MBIDATA"), dayCount(last.line.mbidata) * 10000);
}
