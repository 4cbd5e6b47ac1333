// What the numeric entry field TNumericF lets the clerk type and what its text
// is worth. Plain functions, so the rules are tested without a window.
//
//   NumericEdit e{"0", 1, 1, 0};
//   if (!ApplyNumericKey(e, '7', 4, 2)) beep();   // e.text is now "7"
#pragma once

#include <QChar>
#include <QString>

// The text of a field with its cursor and selection (selectionStart -1 when
// nothing is selected).
struct NumericEdit {
    QString text;
    int cursor = 0;
    int selectionStart = -1;
    int selectionLength = 0;
};

// The Backspace key for ApplyNumericKey and ApplyCnpKey.
inline constexpr QChar BackspaceKey = QChar(0x08);

// Applies one typed key to `edit` under the limits `maskInt` (most integer
// digits; 0 or less allows a leading "-" and sets no limit) and `maskZec`
// (most decimals; 0 forbids the "."). Returns false, leaving `edit` as it
// was, when the key is refused (the field then beeps). Accepted keys: the
// digits, ".", "-" and Backspace; a typed key replaces the selection.
bool ApplyNumericKey(NumericEdit &edit, QChar key, int maskInt, int maskZec);

// Whether `text` keeps the limits: not beginning with "00" or "-00", at most
// `maskInt` digits before the "." and at most `maskZec` after it.
bool NumericTextFits(const QString &text, int maskInt, int maskZec);

// The number a field holds: a text beginning with "." or "-." reads with a
// "0" in front of the point; a text that is not a number is worth 0.
double NumericValue(const QString &text);

// A number in its shortest decimal form with 15 significant digits and "."
// as separator, never with an exponent: 0.5 gives "0.5", 2.0 gives "2".
QString ShortestDecimal(double value);
