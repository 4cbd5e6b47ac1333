#include "platform/texthelpers.h"

namespace {

// Blanks as the original trimming understood them: spaces and control characters.
bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QString CleanText(const QString &text)
{
    QString result = trimBlanks(text);
    result.replace(QLatin1Char('"'), QLatin1Char(' '));
    QString reduced;
    reduced.reserve(result.size());
    for (const QChar c : std::as_const(result)) {
        if (c == QLatin1Char(' ') && reduced.endsWith(QLatin1Char(' ')))
            continue;
        reduced.append(c);
    }
    return reduced;
}

QString JoinConditions(const QString &text)
{
    QString result = trimBlanks(text);
    result.replace(QLatin1String(")("), QLatin1String(") AND ("));
    return result;
}

QString ReplaceText(const QString &text, const QString &oldText, const QString &newText)
{
    if (oldText.isEmpty())
        return text;
    QString result = text;
    if (newText.contains(oldText))
        return result.replace(oldText, newText);
    // Replace the leftmost occurrence each time, as a loop of single
    // replacements would; a new occurrence can only begin inside or just
    // before the text put in, so the search goes on from there.
    qsizetype pos = result.indexOf(oldText);
    while (pos >= 0) {
        result.replace(pos, oldText.size(), newText);
        const qsizetype from = qMax<qsizetype>(0, pos - oldText.size() + 1);
        pos = result.indexOf(oldText, from);
    }
    return result;
}
