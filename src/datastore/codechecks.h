// Checks of the codes and contact data the entry dialogs accept. Pure
// functions: no state, no files.
#pragma once

#include <QString>

// A valid 13-digit Romanian personal numeric code: first digit 1, 2, 5, 6 or 9,
// an existing birth date in digits 2-7, and the check digit of the weights
// "279146358279" (remainder 10 counts as 1).
bool CheckCnp(const QString &text);

// A valid company fiscal code: blanks and a leading prefix such as "RO" are
// ignored; 3 to 10 digits whose last is the check digit of the weights
// "753217532".
bool CheckCif(const QString &text);

// Exactly 10 digits (other characters ignored) beginning with 07, 03, 02 or 01.
bool CheckPhone(const QString &text);

// At least 3 characters before the "@" and 5 after it, only letters A-Z/a-z,
// digits, "-", "." and "_" on both sides, and 2 or 3 characters after the
// first point of the domain.
bool CheckEmail(const QString &text);
