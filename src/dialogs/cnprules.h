// The rules of the personal-code field TCNPEdit: which text is a correct
// personal numeric code for the field, the birth date and sex it carries, and
// how the keys put digits in. Plain functions, tested without a window.
//
// The field's rule differs from CheckCnp (datastore/codechecks.h): it accepts
// codes beginning with "7" and "8" and reads a "9" as born in 19xx.
#pragma once

#include "dialogs/numericrules.h"

#include <QDate>
#include <QString>

// The zero date of the stored day counts: 30 December 1899.
QDate ZeroDate();

// Whether `text` is a correct code for the field; an empty text counts as
// `acceptEmpty`.
bool CnpCorect(const QString &text, bool acceptEmpty);

// The birth date a code carries: 1 January 1900 for a date that does not
// exist, the zero date for a text of 6 characters or fewer or whose date
// parts are not numbers.
QDate CnpNascutLa(const QString &text);

// "masculin" when the text is empty or begins with 1, 5, 7 or 9, else "feminin".
QString CnpSex(const QString &text);

// Applies one key to the field: a digit ("0"…"9"), BackspaceKey or
// DeleteKey. Returns false when the key changes nothing.
inline constexpr QChar DeleteKey = QChar(0x7f);
bool ApplyCnpKey(NumericEdit &edit, QChar key);
