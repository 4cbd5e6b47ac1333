#include "templates/templatelayout.h"

#include "templates/rtftext.h"

#include <QList>
#include <QRegularExpression>

namespace {

QList<QByteArray> splitLines(const QByteArray &text)
{
    QByteArray unified = text;
    unified.replace("\r\n", "\n").replace('\r', '\n');
    return unified.split('\n');
}

// Balance of the braces that open and close groups: "\{", "\}" and "\\"
// are text.
int groupBalance(const QByteArray &rtf, int *lowest)
{
    int depth = 0;
    *lowest = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '{')
            ++depth;
        else if (c == '}')
            --depth;
        *lowest = qMin(*lowest, depth);
    }
    return depth;
}

qsizetype lastNonBlank(const QList<QByteArray> &lines)
{
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (!lines.at(i).trimmed().isEmpty())
            return i;
    }
    return -1;
}

qsizetype pardLine(const QList<QByteArray> &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains("\\pard"))
            return i;
    }
    return -1;
}

} // namespace

QString TemplateLayoutProblem(const QByteArray &rtf)
{
    if (rtf.trimmed().isEmpty())
        return "sablonul este gol";
    if (!rtf.startsWith("{\\rtf"))
        return "sablonul nu incepe cu {\\rtf";
    int lowest = 0;
    if (groupBalance(rtf, &lowest) != 0 || lowest < 0)
        return "acoladele nu se inchid corect";
    const QList<QByteArray> lines = splitLines(rtf);
    const qsizetype pard = pardLine(lines);
    if (pard < 0)
        return "nicio linie nu contine \\pard";
    const qsizetype last = lastNonBlank(lines);
    // The engine counts every brace of a line, escaped or not, from "\pard" on.
    int depth = 1;
    for (qsizetype i = pard; i <= last; ++i) {
        const QByteArray line = i == pard ? lines.at(i).mid(lines.at(i).indexOf("\\pard")) : lines.at(i);
        depth += int(line.count('{') - line.count('}'));
        if (depth == 0 && i < last)
            return QString("documentul se inchide inainte de ultima linie (linia %1)").arg(i + 1);
    }
    if (depth != 0)
        return "corpul nu inchide documentul pe ultima linie";
    if (!lines.at(last).trimmed().endsWith('}'))
        return "ultima linie nu se termina cu }";
    return {};
}

QStringList TemplateMarkers(const QByteArray &rtf)
{
    static const QRegularExpression marker(R"(\[[A-Za-z0-9_]+\])");
    const QList<QByteArray> lines = splitLines(rtf);
    const qsizetype pard = pardLine(lines);
    QStringList found;
    for (qsizetype i = qMax<qsizetype>(pard, 0); pard >= 0 && i < lines.size(); ++i) {
        const QByteArray &bytes = lines.at(i);
        const QString line = rtftext::fromWindows1250(i == pard ? bytes.mid(bytes.indexOf("\\pard")) : bytes);
        auto matches = marker.globalMatch(line);
        while (matches.hasNext()) {
            const QString m = matches.next().captured();
            if (!found.contains(m))
                found.append(m);
        }
    }
    return found;
}
