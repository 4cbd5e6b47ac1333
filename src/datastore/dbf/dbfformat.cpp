#include "datastore/dbf/dbfformat.h"

#include "datastore/dbf/codepage.h"

#include <QDate>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace dbf {

namespace {

quint32 u32(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

int u16(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return int(b[0]) | int(b[1]) << 8;
}

void putU32(char *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

void putU16(char *p, int v)
{
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
}

// Level bytes of the dBASE family: the low three bits give the version (2 to
// 5), the high bits memo and SQL flags; 0x30..0x32 are Visual FoxPro.
bool knownLevel(quint8 level)
{
    if (level >= 0x30 && level <= 0x32)
        return true;
    const int version = level & 0x07;
    return version >= 2 && version <= 5;
}

bool isDbase7(quint8 level)
{
    return (level & 0x07) == 4;
}

bool isDigits(const char *p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9')
            return false;
    return true;
}

int digitsValue(const char *p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i)
        v = v * 10 + (p[i] - '0');
    return v;
}

bool validDay(int y, int m, int d)
{
    return y >= 1 && y <= 9999 && QDate::isValid(y, m, d);
}

// Writes text right-aligned into a field, blanks in front.
bool putRight(const char *text, int length, int width, char *out)
{
    if (length > width)
        return false;
    std::memset(out, ' ', size_t(width - length));
    std::memcpy(out + (width - length), text, size_t(length));
    return true;
}

} // namespace

HeaderStart readHeaderStart(const char *data)
{
    HeaderStart h;
    h.level = quint8(data[0]);
    h.recordCount = u32(data + kRecordCountOffset);
    h.headerLength = u16(data + 8);
    h.recordLength = u16(data + 10);
    h.changeCounter = u32(data + kChangeCounterOffset);
    h.productionIndex = quint8(data[kProductionIndexOffset]);
    h.languageDriver = quint8(data[kLanguageDriverOffset]);
    return h;
}

bool parseHeader(const char *data, qint64 size, qint64 fileSize, Header &h, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (size < 32 || fileSize < 32)
        return fail(QStringLiteral("fisierul are %1 octeti, prea putin pentru un antet dBASE").arg(fileSize));
    h = Header();
    static_cast<HeaderStart &>(h) = readHeaderStart(data);
    if (!knownLevel(h.level))
        return fail(QStringLiteral("nu este o tabela dBASE (octetul de nivel 0x%1)")
                        .arg(h.level, 2, 16, QLatin1Char('0')));
    h.descriptorSize = isDbase7(h.level) ? 48 : 32;
    const int firstDescriptor = isDbase7(h.level) ? 68 : 32;

    if (h.headerLength < firstDescriptor + 1 || h.headerLength > fileSize)
        return fail(QStringLiteral("lungimea antetului (%1) nu se potriveste cu fisierul de %2 octeti")
                        .arg(h.headerLength).arg(fileSize));
    if (size < h.headerLength)
        return fail(QStringLiteral("antetul este trunchiat"));
    if (h.recordLength < 1 || h.recordLength > kMaxRecordLength)
        return fail(QStringLiteral("lungimea inregistrarii (%1) este absurda").arg(h.recordLength));

    int pos = firstDescriptor;
    int offset = 1;
    bool terminated = false;
    while (pos < h.headerLength) {
        if (data[pos] == '\r') {
            terminated = true;
            break;
        }
        if (pos + h.descriptorSize > h.headerLength)
            break;
        const char *d = data + pos;
        const int nameLength = isDbase7(h.level) ? 32 : 11;
        int n = 0;
        while (n < nameLength && d[n] != '\0')
            ++n;
        Field f;
        f.name = decodeText(d, n).trimmed();
        f.type = d[nameLength];
        // Width and decimals follow the type at level 7, and a 4-byte
        // field address at the other levels.
        const int widthAt = isDbase7(h.level) ? nameLength + 1 : 16;
        f.width = quint8(d[widthAt]);
        f.decimals = quint8(d[widthAt + 1]);
        if (f.type != 'N' && f.type != 'F')
            f.decimals = 0;
        f.offset = offset;
        if (f.name.isEmpty())
            return fail(QStringLiteral("campul %1 nu are nume").arg(h.fields.size() + 1));
        if (f.width == 0)
            return fail(QStringLiteral("campul %1 are latimea 0").arg(f.name));
        if (f.type == 'D' && f.width != 8)
            return fail(QStringLiteral("campul de data %1 are latimea %2 in loc de 8").arg(f.name).arg(f.width));
        offset += f.width;
        h.fields.append(f);
        pos += h.descriptorSize;
    }
    if (!terminated)
        return fail(QStringLiteral("descrierea campurilor nu se incheie in antet"));
    if (h.fields.isEmpty())
        return fail(QStringLiteral("tabela nu are niciun camp"));
    if (offset != h.recordLength)
        return fail(QStringLiteral("campurile (%1, in total %2 octeti) nu se potrivesc cu lungimea "
                                   "inregistrarii (%3)")
                        .arg(h.fields.size()).arg(offset).arg(h.recordLength));
    const qint64 needed = qint64(h.headerLength) + qint64(h.recordCount) * h.recordLength;
    if (needed > fileSize)
        return fail(QStringLiteral("fisierul este trunchiat: antetul anunta %1 randuri (%2 octeti), "
                                   "fisierul are %3 octeti")
                        .arg(h.recordCount).arg(needed).arg(fileSize));
    return true;
}

bool checkField(const Field &f, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("campul %1: %2").arg(f.name, why);
        return false;
    };
    if (f.name.isEmpty() || f.name.size() > 10)
        return fail(QStringLiteral("numele trebuie sa aiba intre 1 si 10 caractere"));
    for (int i = 0; i < f.name.size(); ++i) {
        const QChar c = f.name.at(i);
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'
                        || (i > 0 && c >= '0' && c <= '9');
        if (!ok)
            return fail(QStringLiteral("numele poate avea doar litere, cifre si _"));
    }
    switch (f.type) {
    case 'C':
        if (f.width < 1 || f.width > 254)
            return fail(QStringLiteral("latimea unui camp text este intre 1 si 254"));
        break;
    case 'N':
    case 'F':
        if (f.width < 1 || f.width > 20)
            return fail(QStringLiteral("latimea unui camp numeric este intre 1 si 20"));
        if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2))
            return fail(QStringLiteral("prea multe zecimale pentru latimea %1").arg(f.width));
        break;
    case 'D':
        if (f.width != 8)
            return fail(QStringLiteral("un camp de data are latimea 8"));
        break;
    case 'L':
        if (f.width != 1)
            return fail(QStringLiteral("un camp logic are latimea 1"));
        break;
    default:
        return fail(QStringLiteral("tipul %1 nu poate fi creat").arg(QChar(f.type)));
    }
    return true;
}

QByteArray buildHeader(QList<Field> &fields, QString *error)
{
    if (fields.isEmpty() || fields.size() > 255) {
        if (error)
            *error = QStringLiteral("o tabela are intre 1 si 255 de campuri");
        return {};
    }
    int offset = 1;
    for (Field &f : fields) {
        if (f.type != 'N' && f.type != 'F')
            f.decimals = 0;
        if (!checkField(f, error))
            return {};
        for (const Field &g : fields) {
            if (&g != &f && g.name.compare(f.name, Qt::CaseInsensitive) == 0) {
                if (error)
                    *error = QStringLiteral("campul %1 apare de doua ori").arg(f.name);
                return {};
            }
        }
        f.offset = offset;
        offset += f.width;
    }
    if (offset > kMaxRecordLength) {
        if (error)
            *error = QStringLiteral("inregistrarea ar avea %1 octeti, prea multi").arg(offset);
        return {};
    }
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    QByteArray h(headerLength, '\0');
    char *p = h.data();
    p[0] = 0x03;
    stampHeader(p, 0, 0);
    putU16(p + 8, headerLength);
    putU16(p + 10, offset);
    p[kLanguageDriverOffset] = char(kLanguageDriver1250);
    for (int i = 0; i < fields.size(); ++i) {
        char *d = p + 32 + 32 * i;
        const QByteArray name = fields[i].name.toLatin1();
        std::memcpy(d, name.constData(), size_t(name.size()));
        d[11] = fields[i].type;
        d[16] = char(fields[i].width);
        d[17] = char(fields[i].decimals);
    }
    p[headerLength - 1] = '\r';
    return h;
}

void stampHeader(char *p, quint32 recordCount, quint32 changeCounter)
{
    const QDate today = QDate::currentDate();
    p[1] = char(today.year() - 1900);
    p[2] = char(today.month());
    p[3] = char(today.day());
    putU32(p + kRecordCountOffset, recordCount);
    putU32(p + kChangeCounterOffset, changeCounter);
}

int trimmedLength(const char *value, int width)
{
    // Wide text fields are mostly blanks: skip them eight at a time.
    static constexpr char blanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    while (width >= 8 && std::memcmp(value + width - 8, blanks, 8) == 0)
        width -= 8;
    while (width > 0 && (value[width - 1] == ' ' || value[width - 1] == '\0'))
        --width;
    return width;
}

ValueState readNumber(const char *value, int width, bool *isInteger, qint64 *integer, double *real)
{
    int b = 0;
    int e = width;
    while (b < e && (value[b] == ' ' || value[b] == '\0'))
        ++b;
    while (e > b && (value[e - 1] == ' ' || value[e - 1] == '\0'))
        --e;
    if (b == e)
        return ValueState::Null;
    const char *p = value + b;
    const int n = e - b;
    // Whole numbers are the common case (every id): read them without the
    // floating-point parser.
    int i = 0;
    bool negative = false;
    if (p[0] == '-' || p[0] == '+') {
        negative = p[0] == '-';
        i = 1;
    }
    if (i < n && n - i <= 18 && isDigits(p + i, n - i)) {
        qint64 v = 0;
        for (; i < n; ++i)
            v = v * 10 + (p[i] - '0');
        *isInteger = true;
        *integer = negative ? -v : v;
        return ValueState::Ok;
    }
    double d = 0;
    if (!parseNumberText(p, n, &d))
        return ValueState::Damaged;
    *isInteger = false;
    *real = d;
    return ValueState::Ok;
}

bool parseNumberText(const char *text, int length, double *value)
{
    int b = 0;
    int e = length;
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    if (b == e)
        return false;
    const char *p = text + b;
    const char *end = text + e;
    if (*p == '+')
        ++p;
    // from_chars refuses what is not a plain decimal, which is what we want;
    // it also accepts "inf" and "nan", which we do not.
    double d = 0;
    const auto r = std::from_chars(p, end, d, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(d))
        return false;
    bool digit = false;
    for (const char *q = p; q < end; ++q)
        digit = digit || (*q >= '0' && *q <= '9');
    if (!digit)
        return false;
    *value = d;
    return true;
}

ValueState readDate(const char *value, int *year, int *month, int *day)
{
    if (trimmedLength(value, 8) == 0)
        return ValueState::Null;
    if (!isDigits(value, 8))
        return ValueState::Damaged;
    const int y = digitsValue(value, 4);
    const int m = digitsValue(value + 4, 2);
    const int d = digitsValue(value + 6, 2);
    if (y == 0 && m == 0 && d == 0)
        return ValueState::Null;
    if (!validDay(y, m, d))
        return ValueState::Damaged;
    *year = y;
    *month = m;
    *day = d;
    return ValueState::Ok;
}

ValueState readLogical(const char value, bool *truth)
{
    switch (value) {
    case 'T': case 't': case 'Y': case 'y':
        *truth = true;
        return ValueState::Ok;
    case 'F': case 'f': case 'N': case 'n':
        *truth = false;
        return ValueState::Ok;
    case ' ': case '?': case '\0':
        return ValueState::Null;
    default:
        return ValueState::Damaged;
    }
}

bool formatNumber(double value, int width, int decimals, char *out)
{
    if (!std::isfinite(value))
        return false;
    char buf[400];
    int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    if (n <= 0 || n >= int(sizeof buf))
        return false;
    if (n > width && decimals > 0) {
        // Fewer decimals, but only as many fewer as lose nothing of the value
        // rounded to the field's decimals.
        const double rounded = std::strtod(buf, nullptr);
        for (int k = 0; k < decimals; ++k) {
            char shorter[400];
            const int m = std::snprintf(shorter, sizeof shorter, "%.*f", k, rounded);
            if (m > 0 && m < int(sizeof shorter) && std::strtod(shorter, nullptr) == rounded) {
                std::memcpy(buf, shorter, size_t(m) + 1);
                n = m;
                break;
            }
        }
    }
    if (n > 1 && buf[0] == '-' && std::strspn(buf + 1, "0.") == size_t(n - 1))
        std::memmove(buf, buf + 1, size_t(n--)); // no "-0.00"
    return putRight(buf, n, width, out);
}

bool formatInteger(qint64 value, int width, int decimals, char *out)
{
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
    if (decimals > 0 && n + 1 + decimals <= width) {
        buf[n++] = '.';
        for (int k = 0; k < decimals; ++k)
            buf[n++] = '0';
    }
    return putRight(buf, n, width, out);
}

void formatDate(int year, int month, int day, char *out)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", year % 10000, month % 100, day % 100);
    std::memcpy(out, buf, 8);
}

bool parseDateText(const char *text, int length, int *year, int *month, int *day)
{
    while (length > 0 && text[length - 1] == ' ')
        --length;
    while (length > 0 && text[0] == ' ') {
        ++text;
        --length;
    }
    int y = 0, m = 0, d = 0;
    if (length >= 10 && text[4] == '-' && text[7] == '-' && isDigits(text, 4) && isDigits(text + 5, 2)
        && isDigits(text + 8, 2) && (length == 10 || text[10] == ' ' || text[10] == 'T')) {
        y = digitsValue(text, 4);
        m = digitsValue(text + 5, 2);
        d = digitsValue(text + 8, 2);
    } else if (length == 8 && isDigits(text, 8)) {
        y = digitsValue(text, 4);
        m = digitsValue(text + 4, 2);
        d = digitsValue(text + 6, 2);
    } else {
        // d.M.yyyy with one or two digits for day and month.
        const char *dot1 = static_cast<const char *>(std::memchr(text, '.', size_t(length)));
        if (!dot1)
            return false;
        const char *dot2 = static_cast<const char *>(std::memchr(dot1 + 1, '.', size_t(text + length - dot1 - 1)));
        if (!dot2)
            return false;
        const int dl = int(dot1 - text);
        const int ml = int(dot2 - dot1 - 1);
        const int yl = int(text + length - dot2 - 1);
        if (dl < 1 || dl > 2 || ml < 1 || ml > 2 || yl != 4 || !isDigits(text, dl) || !isDigits(dot1 + 1, ml)
            || !isDigits(dot2 + 1, 4))
            return false;
        d = digitsValue(text, dl);
        m = digitsValue(dot1 + 1, ml);
        y = digitsValue(dot2 + 1, 4);
    }
    if (!validDay(y, m, d))
        return false;
    *year = y;
    *month = m;
    *day = d;
    return true;
}

} // namespace dbf
