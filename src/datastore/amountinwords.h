// Amounts of money in Romanian words, as the documents print them: lei and
// bani, words run together inside each number, no diacritics.
//
//   AmountInWords("1234.56")
//     == "unamiidouasutetreizecisipatru lei si cincizecisisase bani"
#pragma once

#include <QString>

// `digits`: a whole number of at most 12 digits ("315" gives
// "treisutecincisprezece", "" or "0" gives "zero"). Characters other than
// digits are ignored; digits beyond the billions get no group word.
QString NumberInWords(const QString &digits);

// `amount`: digits with at most one "." ("2.5"); the bani are the first two
// decimals, cut and not rounded. Empty text counts as "0".
QString AmountInWords(const QString &amount);
