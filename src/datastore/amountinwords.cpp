#include "datastore/amountinwords.h"

#include <array>

namespace {

const std::array<QString, 10> kDigits = {
    QStringLiteral("zero"), QStringLiteral("una"), QStringLiteral("doua"), QStringLiteral("trei"),
    QStringLiteral("patru"), QStringLiteral("cinci"), QStringLiteral("sase"), QStringLiteral("sapte"),
    QStringLiteral("opt"), QStringLiteral("noua")};

QString groupInWords(const QString &group)
{
    const QString g = group.rightJustified(3, QLatin1Char('0'));
    const int h = g.at(0).digitValue(), t = g.at(1).digitValue(), u = g.at(2).digitValue();
    QString words;
    if (h == 1)
        words += QStringLiteral("unasuta");
    else if (h > 1)
        words += kDigits[h] + QStringLiteral("sute");
    const int v = t * 10 + u;
    if (v >= 1 && v <= 9)
        words += kDigits[u];
    else if (v == 10)
        words += QStringLiteral("zece");
    else if (v == 11)
        words += QStringLiteral("unsprezece");
    else if (v == 12)
        words += QStringLiteral("doisprezece");
    else if (v >= 13 && v <= 19)
        words += kDigits[u] + QStringLiteral("sprezece");
    else if (v >= 20) {
        words += kDigits[t] + QStringLiteral("zeci");
        if (u != 0)
            words += QStringLiteral("si") + kDigits[u];
    }
    return words;
}

QString groupWord(qsizetype rank)
{
    switch (rank) {
    case 2: return QStringLiteral("mii");
    case 3: return QStringLiteral("milioane");
    case 4: return QStringLiteral("miliarde");
    default: return QString();
    }
}

QString onlyDigits(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

} // namespace

QString NumberInWords(const QString &digits)
{
    QString d = onlyDigits(digits);
    d = d.rightJustified((d.size() + 2) / 3 * 3, QLatin1Char('0'));
    const qsizetype groups = d.size() / 3;
    QString text;
    for (qsizetype i = 0; i < groups; ++i) {
        const QString words = groupInWords(d.mid(i * 3, 3));
        if (!words.isEmpty())
            text += words + groupWord(groups - i);
    }
    if (text.isEmpty())
        return kDigits[0];
    if (text.endsWith(QLatin1String("una")))
        text.back() = QLatin1Char('u');
    else if (text.size() > 3 && text.endsWith(QLatin1String("doua")))
        text = text.left(text.size() - 4) + QStringLiteral("doi");
    return text;
}

QString AmountInWords(const QString &amount)
{
    QString text = amount.isEmpty() ? QStringLiteral("0") : amount;
    if (text.startsWith(QLatin1Char('.')))
        text.prepend(QLatin1Char('0'));
    QString lei = text, bani = QStringLiteral("0");
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        lei = text.left(point);
        bani = text.mid(point + 1).left(2).leftJustified(2, QLatin1Char('0'));
    }
    return NumberInWords(lei) + QStringLiteral(" lei si ") + NumberInWords(bani) + QStringLiteral(" bani");
}
