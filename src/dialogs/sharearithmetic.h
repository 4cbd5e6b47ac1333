// The share of the land offered for sale (numerator / denominator of the whole
// surface) and the surface it represents, as the request dialog computes them
// from the texts of its fields. Numbers read by NumericValue: a text that is
// not a number is worth 0.
//
//   ShareSurfaceText("2.5", "1", "3")   // "0.8333"
#pragma once

#include <QString>

// Numerator × denominator ≥ 1 and denominator ≥ numerator.
bool ShareIsValid(const QString &numerator, const QString &denominator);

// Numerator ÷ denominator when the share is valid, else 0.
double ShareFraction(const QString &numerator, const QString &denominator);

// The two fields as the share text writes them back: the numerator as its
// integer part (truncated), the denominator in its shortest decimal form.
struct ShareFields {
    QString numerator;
    QString denominator;
};
ShareFields NormalisedShare(const QString &numerator, const QString &denominator);

// "numerator/denominator" of the normalised fields ("1/2", "3/4.5").
QString ShareText(const ShareFields &fields);

// The fields a stored share text loads into: the integer before the first
// "/" (1 when it is not an integer) and the number after it (1 when it is not
// a number), both "1" when the denominator is smaller or there is no "/".
ShareFields ParseShareText(const QString &text);

// The surface the share represents, in hectares rounded to four decimals
// (0.5 added before truncation), in its shortest decimal form; "0" for an
// invalid share.
QString ShareSurfaceText(const QString &surface, const QString &numerator, const QString &denominator);
