#include "dialogs/cnprules.h"

namespace {

constexpr int CnpLength = 13;
const char *const CnpWeights = "279146358279";

bool hasSelection(const NumericEdit &edit)
{
    return edit.selectionStart >= 0 && edit.selectionLength > 0;
}

void removeSelection(NumericEdit &edit)
{
    edit.text.remove(edit.selectionStart, edit.selectionLength);
    edit.cursor = edit.selectionStart;
    edit.selectionStart = -1;
    edit.selectionLength = 0;
}

// Year, month and day of a code, or false when one part is not a number.
bool dateParts(const QString &text, int &year, int &month, int &day)
{
    bool okYear = false;
    bool okMonth = false;
    bool okDay = false;
    year = text.mid(1, 2).toInt(&okYear);
    month = text.mid(3, 2).toInt(&okMonth);
    day = text.mid(5, 2).toInt(&okDay);
    return okYear && okMonth && okDay;
}

} // namespace

QDate ZeroDate()
{
    return QDate(1899, 12, 30);
}

bool CnpCorect(const QString &text, bool acceptEmpty)
{
    if (text.isEmpty())
        return acceptEmpty;
    if (text.size() != CnpLength || !QStringLiteral("1256789").contains(text.at(0)))
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    dateParts(text, year, month, day);
    year += QStringLiteral("56").contains(text.at(0)) ? 2000 : 1900;
    if (!QDate::isValid(year, month, day))
        return false;
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (CnpWeights[i] - '0') * text.at(i).digitValue();
    int r = sum % 11;
    if (r == 10)
        r = 1;
    return r == text.at(12).digitValue();
}

QDate CnpNascutLa(const QString &text)
{
    if (text.size() <= 6)
        return ZeroDate();
    int year = 0;
    int month = 0;
    int day = 0;
    if (!dateParts(text, year, month, day))
        return ZeroDate();
    year += QStringLiteral("56").contains(text.at(0)) ? 2000 : 1900;
    const QDate date(year, month, day);
    return date.isValid() ? date : QDate(1900, 1, 1);
}

QString CnpSex(const QString &text)
{
    if (text.isEmpty() || QStringLiteral("1579").contains(text.at(0)))
        return QStringLiteral("masculin");
    return QStringLiteral("feminin");
}

bool ApplyCnpKey(NumericEdit &edit, QChar key)
{
    const NumericEdit before = edit;
    if (key >= QLatin1Char('0') && key <= QLatin1Char('9')) {
        if (hasSelection(edit))
            removeSelection(edit);
        if (edit.text == QLatin1String("0")) {
            edit.text.clear();
            edit.cursor = 0;
        }
        if (edit.text.size() < CnpLength
            && !(edit.cursor < edit.text.size() && edit.text.at(edit.cursor) == QLatin1Char('-'))) {
            edit.text.insert(edit.cursor, key);
            ++edit.cursor;
        }
    } else if (key == BackspaceKey) {
        if (hasSelection(edit)) {
            removeSelection(edit);
        } else if (edit.cursor > 0) {
            edit.text.remove(edit.cursor - 1, 1);
            --edit.cursor;
        }
    } else if (key == DeleteKey) {
        if (hasSelection(edit))
            removeSelection(edit);
        else if (edit.cursor < edit.text.size())
            edit.text.remove(edit.cursor, 1);
    }
    return edit.text != before.text || edit.cursor != before.cursor;
}
