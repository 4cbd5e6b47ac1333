#include "templatefiles.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

QString templatesFolder()
{
    return QDir(testsupport::sourceRoot()).filePath("resources/templates");
}

QList<TemplateRow> templateTable()
{
    QList<TemplateRow> rows;
    QFile f(QDir(templatesFolder()).filePath("markers.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    for (const QByteArray &raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList cells = line.split('\t');
        TemplateRow row;
        row.resource = cells.value(0);
        row.file = cells.value(1);
        row.role = cells.value(2);
        row.markers = cells.value(3).split(' ', Qt::SkipEmptyParts);
        rows.append(row);
    }
    return rows;
}

TemplateRow templateRow(const QString &resource)
{
    for (const TemplateRow &row : templateTable())
        if (row.resource == resource)
            return row;
    return {};
}

QByteArray templateBytes(const QString &resource)
{
    QFile f(QDir(templatesFolder()).filePath(resource + ".rtf"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> templateLines(const QByteArray &rtf)
{
    QList<QByteArray> lines = rtf.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

QStringList markersIn(const QByteArray &text)
{
    static const QRegularExpression marker(QStringLiteral("\\[[A-Za-z0-9]+\\]"));
    QStringList found;
    auto it = marker.globalMatch(QString::fromLatin1(text));
    while (it.hasNext()) {
        const QString m = it.next().captured();
        if (!found.contains(m))
            found.append(m);
    }
    return found;
}

int braceBalance(const QByteArray &line)
{
    int balance = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i; // the escaped character, a brace included, is text
            continue;
        }
        if (line[i] == '{')
            ++balance;
        else if (line[i] == '}')
            --balance;
    }
    return balance;
}

QByteArray rankRow(const QByteArray &rtf, int n, qsizetype *start)
{
    const QByteArray marker = "[Pree" + QByteArray::number(n) + "]";
    const qsizetype at = rtf.indexOf(marker);
    if (at < 0)
        return {};
    const qsizetype from = rtf.lastIndexOf("\\qc ", at);
    if (from < 0)
        return {};
    const QByteArray end = "\\ltrrow}\\pard ";
    const qsizetype to = rtf.indexOf(end, from + 101);
    if (to < 0 || to + end.size() >= rtf.size())
        return {};
    if (start)
        *start = from;
    return rtf.mid(from, to + end.size() + 1 - from);
}

namespace {

// unrtf's plain-text output drops letters outside Latin-1; with this addition
// to its text settings it writes them as numeric references instead.
QString textSettingsFolder(QTemporaryDir &dir)
{
    for (const QString &system : {QStringLiteral("/usr/share/unrtf"), QStringLiteral("/usr/local/share/unrtf")}) {
        QFile base(system + "/text.conf");
        if (!base.open(QIODevice::ReadOnly))
            continue;
        QFile conf(dir.filePath("text.conf"));
        if (!conf.open(QIODevice::WriteOnly))
            return {};
        conf.write(base.readAll());
        conf.write("\nunisymbol_print\n\t&#%;\nutf8_encoding\n\t\n");
        return dir.path();
    }
    return {};
}

} // namespace

QString unrtfText(const QString &rtfPath)
{
    QTemporaryDir dir;
    const QString settings = textSettingsFolder(dir);
    if (settings.isEmpty())
        return {};
    QByteArray out;
    if (testsupport::runProgram("unrtf", {"-P", settings, "--text", rtfPath}, &out) != 0)
        return {};
    QString text = QString::fromLatin1(out);
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    QString decoded;
    qsizetype last = 0;
    auto it = reference.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        decoded += text.mid(last, m.capturedStart() - last);
        decoded += QChar(m.captured(1).toInt());
        last = m.capturedEnd();
    }
    decoded += text.mid(last);
    return decoded;
}
