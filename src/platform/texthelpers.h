// Small text helpers used wherever the clerk's text meets a stored value or
// the text of a statement.
#pragma once

#include <QString>

// The clerk's text as it is stored: blanks trimmed at both ends, every double
// quote turned into a blank, then every run of blanks reduced to one. The
// result is not trimmed again: a text that began with a double quote now
// begins with a blank.
QString CleanText(const QString &text);

// Conditions written one after another, each in parentheses, joined with
// " AND ": "(A=1)(B=2)" gives "(A=1) AND (B=2)". Blank text gives "".
QString JoinConditions(const QString &text);

// `text` with `oldText` replaced by `newText` until `oldText` no longer
// occurs (a replacement that forms a new occurrence is replaced too). Empty
// `oldText` leaves the text unchanged. When `newText` itself contains
// `oldText`, each original occurrence is replaced once (repeating would never end).
QString ReplaceText(const QString &text, const QString &oldText, const QString &newText);
