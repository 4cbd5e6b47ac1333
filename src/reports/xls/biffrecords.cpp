#include "reports/xls/biffrecords.h"

#include "reports/xls/xlserror.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace xls::biff {

quint16 u16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 u32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
double f64(const QByteArray &b, int at)
{
    const quint64 bits = qFromLittleEndian<quint64>(b.constData() + at);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}
void put16(QByteArray &b, int at, quint16 v) { qToLittleEndian<quint16>(v, b.data() + at); }
void put32(QByteArray &b, int at, quint32 v) { qToLittleEndian<quint32>(v, b.data() + at); }
void add16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian<quint16>(v, c);
    b.append(c, 2);
}
void add32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian<quint32>(v, c);
    b.append(c, 4);
}
void addF64(QByteArray &b, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    char c[8];
    qToLittleEndian<quint64>(bits, c);
    b.append(c, 8);
}

std::vector<Record> readSubstream(const QByteArray &stream, qint64 offset)
{
    std::vector<Record> records;
    int depth = 0;
    qint64 pos = offset;
    for (;;) {
        if (pos + 4 > stream.size())
            throw XlsError(QStringLiteral("foaia se termina inainte de sfarsitul ei (fisier scurtat)"));
        const quint16 type = qFromLittleEndian<quint16>(stream.constData() + pos);
        const quint16 length = qFromLittleEndian<quint16>(stream.constData() + pos + 2);
        if (pos + 4 + length > stream.size())
            throw XlsError(QStringLiteral("o inregistrare trece de sfarsitul fisierului (fisier scurtat)"));
        const QByteArray data = stream.mid(pos + 4, length);
        if (records.empty() && type != RecBof)
            throw XlsError(QStringLiteral("foaia nu incepe cu o inregistrare BOF"));
        if (type == RecContinue && !records.empty())
            records.back().parts.push_back(data);
        else
            records.push_back(Record{type, {data}});
        pos += 4 + length;
        if (type == RecBof)
            ++depth;
        else if (type == RecEof && --depth == 0)
            return records;
    }
}

qint64 appendRecord(QByteArray &out, const Record &record)
{
    const qint64 start = out.size();
    for (size_t i = 0; i < record.parts.size(); ++i) {
        add16(out, i == 0 ? record.type : quint16(RecContinue));
        add16(out, quint16(record.parts[i].size()));
        out += record.parts[i];
    }
    return start;
}

qint64 appendRecord(QByteArray &out, quint16 type, const QByteArray &data)
{
    const qint64 start = out.size();
    add16(out, type);
    add16(out, quint16(data.size()));
    out += data;
    return start;
}

bool PartReader::nextPart()
{
    if (part_ + 1 >= parts_.size())
        return false;
    ++part_;
    pos_ = 0;
    return true;
}

bool PartReader::atEnd()
{
    while (pos_ >= parts_[part_].size())
        if (!nextPart())
            return true;
    return false;
}

quint8 PartReader::byte()
{
    if (atEnd())
        throw XlsError(QStringLiteral("un text se termina inainte de vreme"));
    return quint8(parts_[part_][pos_++]);
}

quint16 PartReader::word()
{
    const quint16 lo = byte();
    return quint16(lo | (quint16(byte()) << 8));
}

quint32 PartReader::dword()
{
    const quint32 lo = word();
    return lo | (quint32(word()) << 16);
}

QByteArray PartReader::bytes(qint64 count)
{
    QByteArray out;
    while (count > 0) {
        if (atEnd())
            throw XlsError(QStringLiteral("un text se termina inainte de vreme"));
        const qint64 take = std::min<qint64>(count, parts_[part_].size() - pos_);
        out += parts_[part_].mid(pos_, take);
        pos_ += int(take);
        count -= take;
    }
    return out;
}

QString PartReader::characters(int length, quint8 options)
{
    QString text;
    text.reserve(length);
    bool wide = options & 1;
    while (text.size() < length) {
        if (pos_ >= parts_[part_].size()) {
            if (!nextPart())
                throw XlsError(QStringLiteral("un text se termina inainte de vreme"));
            if (parts_[part_].isEmpty())
                throw XlsError(QStringLiteral("un text se termina inainte de vreme"));
            wide = quint8(parts_[part_].at(pos_++)) & 1;
            continue;
        }
        const QByteArray &part = parts_[part_];
        const int want = length - int(text.size());
        if (wide) {
            const int avail = std::min(want, int(part.size() - pos_) / 2);
            if (avail == 0)
                throw XlsError(QStringLiteral("un text are un caracter taiat in doua"));
            for (int i = 0; i < avail; ++i)
                text.append(QChar(u16(part, pos_ + 2 * i)));
            pos_ += 2 * avail;
        } else {
            const int avail = std::min(want, int(part.size() - pos_));
            text.append(QString::fromLatin1(part.constData() + pos_, avail));
            pos_ += avail;
        }
    }
    return text;
}

QString readUnicodeString(PartReader &reader)
{
    const quint16 length = reader.word();
    const quint8 options = reader.byte();
    int runs = 0;
    qint64 phonetic = 0;
    if (options & 0x08)
        runs = reader.word();
    if (options & 0x04)
        phonetic = reader.dword();
    const QString text = reader.characters(length, options);
    if (runs || phonetic)
        reader.bytes(qint64(runs) * 4 + phonetic);
    return text;
}

QByteArray unicodeString(const QString &text, bool shortLength)
{
    QByteArray out;
    const QString t = text.left(shortLength ? 255 : 32767);
    if (shortLength)
        out.append(char(t.size()));
    else
        add16(out, quint16(t.size()));
    bool wide = false;
    for (QChar c : t)
        wide = wide || c.unicode() > 0xFF;
    out.append(char(wide ? 1 : 0));
    for (QChar c : t) {
        if (wide)
            add16(out, c.unicode());
        else
            out.append(char(c.unicode()));
    }
    return out;
}

double rkValue(quint32 rk)
{
    double v;
    if (rk & 2) {
        v = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 1) ? v / 100 : v;
}

bool toRk(double value, quint32 *rk)
{
    constexpr double limit = 536870912.0; // 2^29
    if (std::isfinite(value) && value == std::floor(value) && value >= -limit && value < limit) {
        *rk = (quint32(qint32(value)) << 2) | 2;
        return true;
    }
    const double scaled = std::round(value * 100);
    if (std::isfinite(scaled) && scaled >= -limit && scaled < limit && scaled / 100 == value) {
        *rk = (quint32(qint32(scaled)) << 2) | 3;
        return true;
    }
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    if ((bits & 0xFFFFFFFFull) == 0 && (bits >> 32 & 3) == 0) {
        *rk = quint32(bits >> 32);
        return true;
    }
    return false;
}

} // namespace xls::biff
