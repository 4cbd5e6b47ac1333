// Lets GoogleTest print Qt values readably in failure messages: text as
// UTF-8 between quotes, lists as their items, bytes with the unprintable ones
// escaped, a QVariant as its type and value. Without these GoogleTest takes a
// QString for a container and prints it as a list of 2-byte objects.
// testsupport.h includes this file, so every test sees it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    if (s.isNull()) {
        *os << "null QString";
        return;
    }
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{';
    for (qsizetype i = 0; i < l.size(); ++i) {
        if (i > 0)
            *os << ", ";
        PrintTo(l.at(i), os);
    }
    *os << '}';
}

inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << '"';
    for (const char c : b) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            *os << '\\' << c;
        else if (u >= 0x20 && u < 0x7f)
            *os << c;
        else if (c == '\n')
            *os << "\\n";
        else {
            static const char hex[] = "0123456789abcdef";
            *os << "\\x" << hex[u >> 4] << hex[u & 0xf];
        }
    }
    *os << "\" (" << b.size() << " bytes)";
}

inline void PrintTo(const QVariant &v, std::ostream *os)
{
    if (!v.isValid()) {
        *os << "invalid QVariant";
        return;
    }
    *os << "QVariant(" << v.typeName() << ", ";
    if (v.metaType().id() == QMetaType::QStringList)
        PrintTo(v.toStringList(), os);
    else if (v.metaType().id() == QMetaType::QByteArray)
        PrintTo(v.toByteArray(), os);
    else if (v.isNull())
        *os << "null";
    else
        PrintTo(v.toString(), os);
    *os << ')';
}
