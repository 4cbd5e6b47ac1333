#include "datastore/sql/collation.h"

#include "datastore/sql/sqliteboundary.h"

#include <QByteArray>

#include <cstdio>
#include <cstring>

namespace sqlstore {
namespace {

// Decodes the UTF-8 code point at s[i] and advances i.
char32_t nextCodePoint(const unsigned char *s, int length, int &i)
{
    const unsigned char c = s[i++];
    if (c < 0x80)
        return c;
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra && i < length; ++k)
        cp = (cp << 6) | (s[i++] & 0x3F);
    return cp;
}

// The comma-below letters are the cedilla ones.
char32_t unifyCedilla(char32_t cp)
{
    switch (cp) {
    case 0x0218: return 0x015E;
    case 0x0219: return 0x015F;
    case 0x021A: return 0x0162;
    case 0x021B: return 0x0163;
    default: return cp;
    }
}

int letterWeight(char letter)
{
    return 1000 + (letter - 'a') * 10;
}

// Weight of a code point in the alphabet, case ignored.
int primaryWeight(char32_t cp)
{
    if (cp < 0x80) {
        if (cp >= 'A' && cp <= 'Z')
            return letterWeight(char(cp - 'A' + 'a'));
        if (cp >= 'a' && cp <= 'z')
            return letterWeight(char(cp));
        return int(cp);
    }
    switch (cp) {
    case 0x0102: case 0x0103: return letterWeight('a') + 1; // Ă ă
    case 0x00C2: case 0x00E2: return letterWeight('a') + 2; // Â â
    case 0x00CE: case 0x00EE: return letterWeight('i') + 1; // Î î
    case 0x015E: case 0x015F: case 0x0218: case 0x0219: return letterWeight('s') + 1; // Ş ş Ș ș
    case 0x0162: case 0x0163: case 0x021A: case 0x021B: return letterWeight('t') + 1; // Ţ ţ Ț ț
    default: break;
    }
    // Other accented Latin letters sort just after their base letter.
    if (cp <= 0xFFFF) {
        const QChar c{char16_t(cp)};
        const QString decomposition = c.decomposition();
        if (!decomposition.isEmpty()) {
            const QChar base = decomposition.at(0).toLower();
            if (base >= QLatin1Char('a') && base <= QLatin1Char('z'))
                return letterWeight(char(base.unicode())) + 5;
        }
        return 100000 + int(c.toLower().unicode());
    }
    return 100000 + int(cp);
}

int trimmedLength(const char *s, int n)
{
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return n;
}

int collateRomanian(void *, int n1, const void *p1, int n2, const void *p2)
{
    const auto *a = static_cast<const unsigned char *>(p1);
    const auto *b = static_cast<const unsigned char *>(p2);
    n1 = trimmedLength(reinterpret_cast<const char *>(a), n1);
    n2 = trimmedLength(reinterpret_cast<const char *>(b), n2);
    // First the alphabet, case ignored.
    int i = 0, j = 0;
    while (i < n1 && j < n2) {
        const int wa = primaryWeight(nextCodePoint(a, n1, i));
        const int wb = primaryWeight(nextCodePoint(b, n2, j));
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (i < n1 || j < n2)
        return i < n1 ? 1 : -1;
    // Then, for texts that differ only in case, the exact letters.
    i = j = 0;
    while (i < n1 && j < n2) {
        const char32_t ca = unifyCedilla(nextCodePoint(a, n1, i));
        const char32_t cb = unifyCedilla(nextCodePoint(b, n2, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return (i < n1) - (j < n2);
}

// "dd.MM.yyyy" (one or two digits for day and month) as "yyyy-MM-dd".
bool isoFromDotted(const char *s, int n, char *iso)
{
    int parts[3] = {0, 0, 0};
    int lengths[3] = {0, 0, 0};
    int part = 0;
    for (int i = 0; i < n; ++i) {
        if (s[i] == '.') {
            if (++part > 2)
                return false;
        } else if (s[i] >= '0' && s[i] <= '9') {
            parts[part] = parts[part] * 10 + (s[i] - '0');
            ++lengths[part];
        } else {
            return false;
        }
    }
    if (part != 2 || lengths[0] < 1 || lengths[0] > 2 || lengths[1] < 1 || lengths[1] > 2 || lengths[2] != 4)
        return false;
    std::snprintf(iso, 11, "%04d-%02d-%02d", parts[2], parts[1], parts[0]);
    return true;
}

int collateDate(void *, int n1, const void *p1, int n2, const void *p2)
{
    const char *a = static_cast<const char *>(p1);
    const char *b = static_cast<const char *>(p2);
    char isoA[11], isoB[11];
    n1 = trimmedLength(a, n1);
    n2 = trimmedLength(b, n2);
    if (n1 >= 8 && n1 <= 10 && (n1 < 5 || a[4] != '-') && isoFromDotted(a, n1, isoA)) {
        a = isoA;
        n1 = 10;
    }
    if (n2 >= 8 && n2 <= 10 && (n2 < 5 || b[4] != '-') && isoFromDotted(b, n2, isoB)) {
        b = isoB;
        n2 = 10;
    }
    const int c = std::memcmp(a, b, size_t(qMin(n1, n2)));
    return c != 0 ? c : n1 - n2;
}

void changeCase(sqlite3_context *context, sqlite3_value *value, bool upper)
{
    if (sqlite3_value_type(value) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    const QString s = QString::fromUtf8(text, sqlite3_value_bytes(value));
    const QByteArray out = (upper ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(context, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

void upperFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    changeCase(context, argv[0], true);
}

void lowerFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    changeCase(context, argv[0], false);
}

} // namespace

void registerCollations(sqlite3 *db)
{
    sqlite3_create_collation(db, "ROMANIAN", SQLITE_UTF8, nullptr,
                             [](void *, int n1, const void *p1, int n2, const void *p2) noexcept {
                                 return guardedCompare([&] { return collateRomanian(nullptr, n1, p1, n2, p2); });
                             });
    sqlite3_create_collation(db, "DBFDATE", SQLITE_UTF8, nullptr,
                             [](void *, int n1, const void *p1, int n2, const void *p2) noexcept {
                                 return guardedCompare([&] { return collateDate(nullptr, n1, p1, n2, p2); });
                             });
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(
        db, "upper", 1, flags, nullptr,
        [](sqlite3_context *context, int argc, sqlite3_value **argv) noexcept {
            guardedFunction(context, [&] { upperFunction(context, argc, argv); });
        },
        nullptr, nullptr);
    sqlite3_create_function(
        db, "lower", 1, flags, nullptr,
        [](sqlite3_context *context, int argc, sqlite3_value **argv) noexcept {
            guardedFunction(context, [&] { lowerFunction(context, argc, argv); });
        },
        nullptr, nullptr);
}

namespace {

void appendWeight(QByteArray &key, quint32 weight)
{
    key.append(char(weight >> 16)).append(char(weight >> 8)).append(char(weight));
}

} // namespace

QByteArray romanianSortKey(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    const int n = trimmedLength(bytes.constData(), int(bytes.size()));
    QByteArray key;
    key.reserve(6 * n + 3);
    // The alphabet first, then (after a mark below every weight, so that a
    // shorter text comes first) the exact letters, as collateRomanian does.
    for (int i = 0; i < n;)
        appendWeight(key, quint32(primaryWeight(nextCodePoint(s, n, i))));
    appendWeight(key, 0);
    for (int i = 0; i < n;)
        appendWeight(key, quint32(unifyCedilla(nextCodePoint(s, n, i))));
    return key;
}

int compareRomanian(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    return collateRomanian(nullptr, int(x.size()), x.constData(), int(y.size()), y.constData());
}

} // namespace sqlstore
