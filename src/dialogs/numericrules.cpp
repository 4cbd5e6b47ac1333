#include "dialogs/numericrules.h"


#include <cmath>

namespace {

void removeSelection(NumericEdit &edit)
{
    if (edit.selectionStart < 0 || edit.selectionLength <= 0)
        return;
    edit.text.remove(edit.selectionStart, edit.selectionLength);
    edit.cursor = edit.selectionStart;
    edit.selectionStart = -1;
    edit.selectionLength = 0;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int digitCount(const QString &text)
{
    int n = 0;
    for (QChar c : text)
        n += isDigit(c) ? 1 : 0;
    return n;
}

} // namespace

bool NumericTextFits(const QString &text, int maskInt, int maskZec)
{
    if (text.startsWith(QLatin1String("00")) || text.startsWith(QLatin1String("-00")))
        return false;
    const int point = text.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? text : text.left(point);
    if (maskInt > 0 && digitCount(integerPart) > maskInt)
        return false;
    if (point >= 0 && digitCount(text.mid(point + 1)) > maskZec)
        return false;
    return true;
}

bool ApplyNumericKey(NumericEdit &edit, QChar key, int maskInt, int maskZec)
{
    NumericEdit next = edit;
    if (key == BackspaceKey) {
        if (next.selectionStart >= 0 && next.selectionLength > 0) {
            removeSelection(next);
        } else if (next.cursor > 0) {
            next.text.remove(next.cursor - 1, 1);
            --next.cursor;
        }
        if (next.text.isEmpty()) {
            // An emptied field shows "0", selected, so the next digit replaces it.
            next = NumericEdit{QStringLiteral("0"), 1, 0, 1};
        }
    } else {
        const bool digit = isDigit(key);
        if (!digit && key != QLatin1Char('.') && key != QLatin1Char('-'))
            return false;
        removeSelection(next);
        if (digit && next.text == QLatin1String("0")) {
            next.text.clear();
            next.cursor = 0;
        }
        if (key == QLatin1Char('.') && (maskZec <= 0 || next.text.contains(QLatin1Char('.'))))
            return false;
        if (key == QLatin1Char('-') && (maskInt > 0 || next.cursor != 0 || next.text.contains(QLatin1Char('-'))))
            return false;
        // A leading zero in front of a digit 1 to 9 ("05") is refused.
        const int numberStart = next.text.startsWith(QLatin1Char('-')) ? 1 : 0;
        if (key == QLatin1Char('0') && next.cursor == numberStart && next.cursor < next.text.size()
            && next.text.at(next.cursor) >= QLatin1Char('1') && next.text.at(next.cursor) <= QLatin1Char('9'))
            return false;
        next.text.insert(next.cursor, key);
        ++next.cursor;
    }
    if (!NumericTextFits(next.text, maskInt, maskZec))
        return false;
    edit = next;
    return true;
}

double NumericValue(const QString &text)
{
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('.')))
        t.prepend(QLatin1Char('0'));
    else if (t.startsWith(QLatin1String("-.")))
        t.insert(1, QLatin1Char('0'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString ShortestDecimal(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    // Digits after the point that 15 significant digits leave, then the
    // trailing zeros go.
    const int magnitude = value == 0.0 ? 0 : int(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, 14 - magnitude);
    QString text = QString::number(value, 'f', std::min(decimals, 20));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}
