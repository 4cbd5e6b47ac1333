#include "datastore/codechecks.h"

#include <QDate>

namespace {

bool allDigits(const QString &text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

int digitAt(const QString &text, qsizetype index) { return text.at(index).unicode() - '0'; }

// Sum of the digits of `text` times the digits of `key`, position by position.
int weightedSum(const QString &text, const char *key)
{
    int sum = 0;
    for (qsizetype i = 0; key[i]; ++i)
        sum += digitAt(text, i) * (key[i] - '0');
    return sum;
}

bool isEmailCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' || u == '.'
           || u == '_';
}

bool onlyEmailCharacters(const QString &text)
{
    for (QChar c : text)
        if (!isEmailCharacter(c))
            return false;
    return true;
}

} // namespace

bool CheckCnp(const QString &text)
{
    if (text.size() != 13 || !allDigits(text) || !QStringLiteral("12569").contains(text.at(0)))
        return false;
    const int century = (text.at(0) == QLatin1Char('1') || text.at(0) == QLatin1Char('2')) ? 1900 : 2000;
    const QDate birth(century + text.mid(1, 2).toInt(), text.mid(3, 2).toInt(), text.mid(5, 2).toInt());
    if (!birth.isValid())
        return false;
    int r = weightedSum(text, "279146358279") % 11;
    if (r == 10)
        r = 1;
    return digitAt(text, 12) == r;
}

bool CheckCif(const QString &text)
{
    QString t = text.toUpper();
    t.remove(QLatin1Char(' '));
    if (t.size() < 3)
        return false;
    qsizetype first = 0;
    while (first < t.size() && !t.at(first).isDigit())
        ++first;
    t = t.mid(first);
    if (!allDigits(t) || t.size() < 3 || t.size() > 10)
        return false;
    t = t.rightJustified(10, QLatin1Char('0'));
    const int r = (weightedSum(t, "753217532") * 10) % 11 % 10;
    return digitAt(t, 9) == r;
}

bool CheckPhone(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    if (digits.size() != 10)
        return false;
    return digits.startsWith(QLatin1String("07")) || digits.startsWith(QLatin1String("03"))
           || digits.startsWith(QLatin1String("02")) || digits.startsWith(QLatin1String("01"));
}

bool CheckEmail(const QString &text)
{
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    if (at < 3) // no "@", or fewer than 3 characters before it
        return false;
    const QString local = text.left(at);
    const QString domain = text.mid(at + 1);
    if (domain.size() < 5 || !onlyEmailCharacters(local) || !onlyEmailCharacters(domain))
        return false;
    const qsizetype afterPoint = domain.size() - (domain.indexOf(QLatin1Char('.')) + 1);
    return afterPoint == 2 || afterPoint == 3;
}
