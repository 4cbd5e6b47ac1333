#include "templates/rtftext.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace rtftext {

namespace {

// The code page as three tables built once from Qt's own conversion: the
// character of each byte, the byte of each character, and the capital of each
// byte (a byte whose capital is outside the code page keeps itself).
struct CodePage {
    std::array<char16_t, 256> character{};
    QHash<char16_t, uchar> byteOf;
    std::array<uchar, 256> capital{};

    CodePage()
    {
        QStringDecoder decode("windows-1250");
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            const QString s = decode(QByteArray(&c, 1));
            character[b] = s.size() == 1 ? s.at(0).unicode() : char16_t(0xFFFD);
            if (character[b] != 0xFFFD && !byteOf.contains(character[b]))
                byteOf.insert(character[b], uchar(b));
        }
        for (int b = 0; b < 256; ++b) {
            capital[b] = uchar(b);
            const QString upper = QString(QChar(character[b])).toUpper();
            if (upper.size() == 1 && byteOf.contains(upper.at(0).unicode()))
                capital[b] = byteOf.value(upper.at(0).unicode());
        }
    }
};

const CodePage &codePage()
{
    static const CodePage table;
    return table;
}

char16_t commaBelowToCedilla(char16_t c)
{
    switch (c) {
    case 0x0218: return 0x015E; // Ș → Ş
    case 0x0219: return 0x015F; // ș → ş
    case 0x021A: return 0x0162; // Ț → Ţ
    case 0x021B: return 0x0163; // ț → ţ
    default: return c;
    }
}

void appendUnicodeEscape(QByteArray &out, char32_t code)
{
    // RTF carries a 16-bit signed number; characters beyond the basic plane
    // go as their two surrogates.
    auto one = [&out](char16_t unit) {
        out += "\\u" + QByteArray::number(qint16(unit)) + '?';
    };
    if (code > 0xFFFF) {
        one(QChar::highSurrogate(code));
        one(QChar::lowSurrogate(code));
    } else {
        one(char16_t(code));
    }
}

const char hexDigits[] = "0123456789abcdef";

void appendByteEscape(QByteArray &out, uchar b)
{
    out += "\\'";
    out += hexDigits[b >> 4];
    out += hexDigits[b & 15];
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the control word starting with the backslash at `at`: the
// letters, an optional signed number, and the one blank that ends it.
qsizetype controlWordLength(const QByteArray &rtf, qsizetype at)
{
    qsizetype i = at + 1;
    while (i < rtf.size() && isAsciiLetter(rtf.at(i)))
        ++i;
    if (i < rtf.size() && rtf.at(i) == '-' && i + 1 < rtf.size() && isAsciiDigit(rtf.at(i + 1)))
        ++i;
    while (i < rtf.size() && isAsciiDigit(rtf.at(i)))
        ++i;
    if (i < rtf.size() && rtf.at(i) == ' ')
        ++i;
    return i - at;
}

} // namespace

QByteArray toWindows1250(const QString &text)
{
    const CodePage &cp = codePage();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = commaBelowToCedilla(text.at(i).unicode());
        if (c < 0x80) {
            out += char(c);
        } else if (cp.byteOf.contains(c)) {
            out += char(cp.byteOf.value(c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            appendUnicodeEscape(out, QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else {
            appendUnicodeEscape(out, c);
        }
    }
    return out;
}

QString fromWindows1250(const QByteArray &bytes)
{
    const CodePage &cp = codePage();
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        out += QChar(cp.character[uchar(c)]);
    return out;
}

QByteArray toRtfText(const QString &text)
{
    QByteArray out;
    for (const char c : toWindows1250(text)) {
        if (uchar(c) >= 0x80)
            appendByteEscape(out, uchar(c));
        else
            out += c;
    }
    return out;
}

QByteArray escapeValue(const QString &value)
{
    QByteArray out = toRtfText(value);
    out.replace('{', '(').replace('}', ')');
    return out;
}

QByteArray upperCaseText(const QByteArray &rtf)
{
    const CodePage &cp = codePage();
    QByteArray out;
    out.reserve(rtf.size());
    qsizetype i = 0;
    while (i < rtf.size()) {
        const char c = rtf.at(i);
        if (c != '\\') {
            out += char(cp.capital[uchar(c)]);
            ++i;
            continue;
        }
        if (i + 1 >= rtf.size()) {
            out += c;
            ++i;
        } else if (rtf.at(i + 1) == '\'' && i + 3 < rtf.size() && hexValue(rtf.at(i + 2)) >= 0
                   && hexValue(rtf.at(i + 3)) >= 0) {
            const uchar b = uchar(hexValue(rtf.at(i + 2)) * 16 + hexValue(rtf.at(i + 3)));
            appendByteEscape(out, cp.capital[b]);
            i += 4;
        } else if (isAsciiLetter(rtf.at(i + 1))) {
            const qsizetype n = controlWordLength(rtf, i);
            out += rtf.mid(i, n);
            i += n;
        } else {
            out += rtf.mid(i, 2);
            i += 2;
        }
    }
    return out;
}

bool isAllCapitals(const QByteArray &bytes)
{
    const CodePage &cp = codePage();
    for (const char c : bytes) {
        if (cp.capital[uchar(c)] != uchar(c))
            return false;
    }
    return true;
}

qsizetype indexOfNoCase(const QByteArray &haystack, const QByteArray &needle, qsizetype from)
{
    if (needle.isEmpty() || from < 0)
        return -1;
    const CodePage &cp = codePage();
    const qsizetype last = haystack.size() - needle.size();
    for (qsizetype p = from; p <= last; ++p) {
        qsizetype j = 0;
        while (j < needle.size() && cp.capital[uchar(haystack.at(p + j))] == cp.capital[uchar(needle.at(j))])
            ++j;
        if (j == needle.size())
            return p;
    }
    return -1;
}

} // namespace rtftext
