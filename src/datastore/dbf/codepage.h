// Windows-1250, the code page of the text in our dBASE tables.
//
// Tables hold one byte per character in Windows-1250 (the code page of the
// Romanian Windows workstations that wrote them); in memory and inside SQL the
// text is UTF-8. Windows-1250 has only the cedilla forms of s and t, so the
// comma-below letters of a modern Romanian keyboard (U+0218..U+021B) are stored
// as their cedilla twins. Any other character without a Windows-1250 form is
// refused: it is never silently turned into "?".
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace dbf {

// Appends the UTF-8 form of `length` Windows-1250 bytes to `out`.
void decodeToUtf8(const char *bytes, int length, std::string &out);

// The text of `length` Windows-1250 bytes.
QString decodeText(const char *bytes, int length);

// Encodes UTF-8 text as Windows-1250. Returns false (and names the first
// character that has no Windows-1250 form in *bad) when the text cannot be
// stored; `out` is then incomplete.
bool encodeUtf8(const char *utf8, int length, QByteArray &out, QString *bad = nullptr);

// Same for a QString.
bool encodeText(const QString &text, QByteArray &out, QString *bad = nullptr);

} // namespace dbf
