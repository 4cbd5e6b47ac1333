#include "datastore/dbf/codepage.h"

#include <QStringDecoder>

#include <array>
#include <unordered_map>

namespace dbf {
namespace {

// The byte tables are built once from Qt's own Windows-1250 codec. The five
// bytes that Windows-1250 leaves undefined map to the C1 control of the same
// number, so that any file reads and writes back byte for byte.
struct Tables {
    // Code point of every byte.
    std::array<char16_t, 256> toUnicode{};
    // UTF-8 form of every byte, with its length in the first slot.
    std::array<std::array<char, 4>, 256> toUtf8{};
    // Byte of every code point above 0x7F that has one.
    std::unordered_map<char32_t, unsigned char> fromUnicode;

    Tables()
    {
        QStringDecoder decoder("windows-1250");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            QString s = decoder.decode(QByteArrayView(&byte, 1));
            char16_t cp = (s.size() == 1 && s.at(0) != QChar::ReplacementCharacter) ? s.at(0).unicode()
                                                                                    : char16_t(b);
            toUnicode[b] = cp;
            std::array<char, 4> &u = toUtf8[b];
            if (cp < 0x80) {
                u = {1, char(cp), 0, 0};
            } else if (cp < 0x800) {
                u = {2, char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F)), 0};
            } else {
                u = {3, char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
            }
            if (b >= 0x80)
                fromUnicode.emplace(cp, (unsigned char)b);
        }
        // The comma-below letters are written with the cedilla letters.
        fromUnicode.emplace(0x0218, fromUnicode.at(0x015E)); // Ș -> Ş
        fromUnicode.emplace(0x0219, fromUnicode.at(0x015F)); // ș -> ş
        fromUnicode.emplace(0x021A, fromUnicode.at(0x0162)); // Ț -> Ţ
        fromUnicode.emplace(0x021B, fromUnicode.at(0x0163)); // ț -> ţ
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Invalid bytes come back as
// U+FFFD, which has no Windows-1250 form and is therefore refused.
char32_t nextCodePoint(const unsigned char *s, int length, int &i)
{
    const unsigned char c = s[i++];
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + extra > length)
        return 0xFFFD;
    char32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const unsigned char cc = s[i];
        if ((cc & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (cc & 0x3F);
        ++i;
    }
    return cp;
}

} // namespace

void decodeToUtf8(const char *bytes, int length, std::string &out)
{
    const Tables &t = tables();
    for (int i = 0; i < length; ++i) {
        const unsigned char b = (unsigned char)bytes[i];
        if (b < 0x80) {
            out.push_back(char(b));
        } else {
            const std::array<char, 4> &u = t.toUtf8[b];
            out.append(u.data() + 1, size_t(u[0]));
        }
    }
}

QString decodeText(const char *bytes, int length)
{
    const Tables &t = tables();
    QString s(length, Qt::Uninitialized);
    QChar *d = s.data();
    for (int i = 0; i < length; ++i)
        d[i] = QChar(t.toUnicode[(unsigned char)bytes[i]]);
    return s;
}

bool encodeUtf8(const char *utf8, int length, QByteArray &out, QString *bad)
{
    const Tables &t = tables();
    const auto *s = reinterpret_cast<const unsigned char *>(utf8);
    int i = 0;
    while (i < length) {
        const char32_t cp = nextCodePoint(s, length, i);
        if (cp < 0x80) {
            out.append(char(cp));
            continue;
        }
        const auto it = t.fromUnicode.find(cp);
        if (it == t.fromUnicode.end()) {
            if (bad)
                *bad = QString::fromUcs4(&cp, 1);
            return false;
        }
        out.append(char(it->second));
    }
    return true;
}

bool encodeText(const QString &text, QByteArray &out, QString *bad)
{
    const QByteArray utf8 = text.toUtf8();
    return encodeUtf8(utf8.constData(), int(utf8.size()), out, bad);
}

} // namespace dbf
