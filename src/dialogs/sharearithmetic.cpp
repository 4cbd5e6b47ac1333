#include "dialogs/sharearithmetic.h"

#include "dialogs/numericrules.h"

#include <cmath>

bool ShareIsValid(const QString &numerator, const QString &denominator)
{
    const double n = NumericValue(numerator);
    const double d = NumericValue(denominator);
    return n * d >= 1.0 && d >= n;
}

double ShareFraction(const QString &numerator, const QString &denominator)
{
    if (!ShareIsValid(numerator, denominator))
        return 0.0;
    return NumericValue(numerator) / NumericValue(denominator);
}

ShareFields NormalisedShare(const QString &numerator, const QString &denominator)
{
    return {ShortestDecimal(std::trunc(NumericValue(numerator))), ShortestDecimal(NumericValue(denominator))};
}

QString ShareText(const ShareFields &fields)
{
    return fields.numerator + QLatin1Char('/') + fields.denominator;
}

ShareFields ParseShareText(const QString &text)
{
    const int slash = text.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {QStringLiteral("1"), QStringLiteral("1")};
    bool integer = false;
    const qlonglong n = text.left(slash).trimmed().toLongLong(&integer);
    const double numerator = integer ? double(n) : 1.0;
    bool number = false;
    double denominator = text.mid(slash + 1).trimmed().toDouble(&number);
    if (!number || !std::isfinite(denominator))
        denominator = 1.0;
    if (denominator < numerator)
        return {QStringLiteral("1"), QStringLiteral("1")};
    return {ShortestDecimal(numerator), ShortestDecimal(denominator)};
}

QString ShareSurfaceText(const QString &surface, const QString &numerator, const QString &denominator)
{
    const double x = NumericValue(surface) * ShareFraction(numerator, denominator);
    const double y = x * 10000.0;
    const double r = std::trunc(y + 0.5);
    return ShortestDecimal(r / 10000.0);
}
