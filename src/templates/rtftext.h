// Text as it stands inside our RTF documents: Windows-1250 bytes.
//
// Templates and produced documents declare \ansicpg1250, so every value we put
// into them is turned into that code page here, and every byte-level question
// the substitution engine asks (is this marker here, whatever its case? is it
// written in capitals? what is this value in capitals?) is answered with the
// code page's own letters, so that "ă" and "Ă", "ş" and "Ş" pair up the way a
// Romanian reader expects.
//
//     QByteArray v = rtftext::escapeValue("Ţară {nouă}");   // "\'de\'e3r\'e3 (nou\'e3)"
//     rtftext::upperCaseText("a\\line b\\'e3");             // "A\\line B\\'c3"
#pragma once

#include <QByteArray>
#include <QString>

namespace rtftext {

// The Windows-1250 bytes of `text`. The Romanian letters with comma below
// (ș ț Ș Ț), which the code page lacks, become their cedilla forms (ş ţ Ş Ţ);
// any other character outside the code page becomes the RTF escape "\uN?".
QByteArray toWindows1250(const QString &text);

// `bytes` read back from Windows-1250.
QString fromWindows1250(const QByteArray &bytes);

// `text` as RTF: Windows-1250 with every byte above 127 written as the escape
// "\'xx" (lower-case hex), which every RTF reader takes, while some readers
// drop raw 8-bit bytes. Everything else stays as it is.
QByteArray toRtfText(const QString &text);

// A value ready to stand in a document's text: toRtfText with "{" and "}"
// turned into "(" and ")". Backslashes stay, so that a caller may put "\par"
// or "\line" into a value on purpose.
QByteArray escapeValue(const QString &value);

// `rtf` with its text in capitals. Control words ("\line", "\par", "\u537"),
// control symbols ("\\", "\{") and escapes keep their spelling; an escape
// "\'xx" stays an escape and stands afterwards for the capital of its letter.
QByteArray upperCaseText(const QByteArray &rtf);

// True when `bytes` equal their own capitals (digits and signs count as such).
bool isAllCapitals(const QByteArray &bytes);

// Position of `needle` in `haystack` from `from` on, letters compared without
// regard to case in Windows-1250; -1 when absent or when `needle` is empty.
qsizetype indexOfNoCase(const QByteArray &haystack, const QByteArray &needle, qsizetype from = 0);

} // namespace rtftext
