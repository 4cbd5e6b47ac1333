#include "datastore/profilefile.h"

#include "platform/filelock.h"
#include "datastore/dbf/codepage.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
#include <vector>

namespace {

QString decodeWindows1250(const QByteArray &bytes)
{
    return dbf::decodeText(bytes.constData(), int(bytes.size()));
}

// Names and values go into the file in the code page of the tables; a
// character it lacks stops the write rather than turning into "?".
QByteArray encodeWindows1250(const QString &text)
{
    QByteArray bytes;
    QString bad;
    if (!dbf::encodeText(text, bytes, &bad))
        throw SettingsError(QStringLiteral("Caracterul \"%1\" din \"%2\" nu poate fi scris in fisierul de setari.")
                                .arg(bad, text));
    return bytes;
}

// One line of the file: [start, end) is its text, [end, next) its line break.
struct Line {
    qsizetype start;
    qsizetype end;
    qsizetype next;
};

std::vector<Line> splitLines(const QByteArray &bytes)
{
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', pos);
        qsizetype next = lf < 0 ? bytes.size() : lf + 1;
        qsizetype end = lf < 0 ? bytes.size() : lf;
        if (end > pos && bytes.at(end - 1) == '\r')
            --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

QByteArray lineText(const QByteArray &bytes, const Line &line)
{
    return bytes.mid(line.start, line.end - line.start);
}

bool sameName(const QByteArray &stored, const QString &wanted)
{
    return decodeWindows1250(stored.trimmed()).compare(wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

// The name inside "[...]" when the line is a section header.
std::optional<QByteArray> sectionName(const QByteArray &text)
{
    const QByteArray t = text.trimmed();
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    return close < 0 ? t.mid(1) : t.mid(1, close - 1);
}

bool isComment(const QByteArray &text)
{
    return text.trimmed().startsWith(';');
}

// Where a section and a key sit among the lines; -1 where absent.
struct Location {
    // Index of the section's header line.
    int header = -1;
    // Index of the key's line inside the section.
    int key = -1;
    // Index of the last non-blank line of the section (the header when empty).
    int lastFilled = -1;
    // Index of the first line after the section (lines.size() at the end).
    int after = -1;
};

Location locate(const QByteArray &bytes, const std::vector<Line> &lines, const QString &section,
                const QString &key)
{
    Location loc;
    for (int i = 0; i < int(lines.size()); ++i) {
        const QByteArray text = lineText(bytes, lines[i]);
        const auto name = sectionName(text);
        if (loc.header < 0) {
            if (name && sameName(*name, section))
                loc.header = loc.lastFilled = i;
            continue;
        }
        if (name) {
            loc.after = i;
            return loc;
        }
        if (!text.trimmed().isEmpty())
            loc.lastFilled = i;
        const qsizetype eq = text.indexOf('=');
        if (loc.key < 0 && !key.isEmpty() && eq >= 0 && !isComment(text) && sameName(text.left(eq), key))
            loc.key = i;
    }
    if (loc.header >= 0)
        loc.after = int(lines.size());
    return loc;
}

// Line break used when lines are added: the file's own, CRLF for a new file.
QByteArray lineBreakOf(const QByteArray &bytes)
{
    return bytes.contains('\n') && !bytes.contains("\r\n") ? QByteArray("\n") : QByteArray("\r\n");
}

// Inserts `text` as a whole line after line `index` (or at the very start when -1).
QByteArray insertLineAfter(const QByteArray &bytes, const std::vector<Line> &lines, int index,
                           const QByteArray &text)
{
    const QByteArray eol = lineBreakOf(bytes);
    if (index < 0)
        return text + eol + bytes;
    const Line &line = lines[index];
    if (line.next == line.end) // last line without a line break
        return bytes.left(line.end) + eol + text + eol + bytes.mid(line.next);
    return bytes.left(line.next) + text + eol + bytes.mid(line.next);
}

QByteArray withKey(const QByteArray &bytes, const QString &section, const QString &key,
                   const QByteArray &value)
{
    const std::vector<Line> lines = splitLines(bytes);
    const Location loc = locate(bytes, lines, section, key);
    const QByteArray keyLine = encodeWindows1250(key) + '=' + value;
    if (loc.key >= 0) {
        const Line &line = lines[loc.key];
        return bytes.left(line.start) + keyLine + bytes.mid(line.end);
    }
    if (loc.header >= 0)
        return insertLineAfter(bytes, lines, loc.lastFilled, keyLine);
    QByteArray result = bytes;
    const QByteArray eol = lineBreakOf(bytes);
    if (!result.isEmpty() && !result.endsWith('\n'))
        result += eol;
    return result + '[' + encodeWindows1250(section) + ']' + eol + keyLine + eol;
}

QByteArray withoutLines(const QByteArray &bytes, const std::vector<Line> &lines, int from, int to)
{
    const qsizetype start = lines[from].start;
    const qsizetype stop = to < int(lines.size()) ? lines[to].start : bytes.size();
    return bytes.left(start) + bytes.mid(stop);
}

QByteArray withoutLineBreaks(QByteArray bytes)
{
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

} // namespace

ProfileFile::ProfileFile(const QString &path) : path_(path) {}

QByteArray ProfileFile::readAll() const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray ProfileFile::rawValue(const QString &section, const QString &key) const
{
    const QByteArray bytes = readAll();
    const std::vector<Line> lines = splitLines(bytes);
    const Location loc = locate(bytes, lines, section, key);
    if (loc.key < 0)
        return {};
    const QByteArray text = lineText(bytes, lines[loc.key]);
    return text.mid(text.indexOf('=') + 1);
}

QString ProfileFile::value(const QString &section, const QString &key) const
{
    return decodeWindows1250(rawValue(section, key).trimmed());
}

QStringList ProfileFile::keys(const QString &section) const
{
    const QByteArray bytes = readAll();
    const std::vector<Line> lines = splitLines(bytes);
    const Location loc = locate(bytes, lines, section, QString());
    QStringList names;
    if (loc.header < 0)
        return names;
    for (int i = loc.header + 1; i < loc.after; ++i) {
        const QByteArray text = lineText(bytes, lines[i]);
        const qsizetype eq = text.indexOf('=');
        if (eq >= 0 && !isComment(text))
            names << decodeWindows1250(text.left(eq).trimmed());
    }
    return names;
}

void ProfileFile::setValue(const QString &section, const QString &key, const QString &text)
{
    const QByteArray bytes = withoutLineBreaks(encodeWindows1250(text));
    modify([&](const QByteArray &current) { return withKey(current, section, key, bytes); });
}

void ProfileFile::setRawValue(const QString &section, const QString &key, const QByteArray &bytes)
{
    if (bytes.contains('\r') || bytes.contains('\n') || bytes.contains('\0'))
        throw SettingsError(QStringLiteral("Valoarea cheii %1 din \"%2\" contine caractere care nu pot fi scrise.")
                                .arg(key, path_));
    modify([&](const QByteArray &current) { return withKey(current, section, key, bytes); });
}

void ProfileFile::removeKey(const QString &section, const QString &key)
{
    modify([&](const QByteArray &current) {
        const std::vector<Line> lines = splitLines(current);
        const Location loc = locate(current, lines, section, key);
        return loc.key < 0 ? current : withoutLines(current, lines, loc.key, loc.key + 1);
    });
}

void ProfileFile::removeSection(const QString &section)
{
    modify([&](const QByteArray &current) {
        const std::vector<Line> lines = splitLines(current);
        const Location loc = locate(current, lines, section, QString());
        return loc.header < 0 ? current : withoutLines(current, lines, loc.header, loc.after);
    });
}

QString ProfileFile::update(const QString &section, const QString &key,
                            const std::function<QString(const QString &current)> &next)
{
    QString old;
    modify([&](const QByteArray &current) {
        const std::vector<Line> lines = splitLines(current);
        const Location loc = locate(current, lines, section, key);
        if (loc.key >= 0) {
            const QByteArray text = lineText(current, lines[loc.key]);
            old = decodeWindows1250(text.mid(text.indexOf('=') + 1).trimmed());
        }
        return withKey(current, section, key, withoutLineBreaks(encodeWindows1250(next(old))));
    });
    return old;
}

void ProfileFile::modify(const std::function<QByteArray(const QByteArray &current)> &edit)
{
    platform::FileLock lock(path_ + QStringLiteral(".lck"));
    if (!lock.isLocked())
        throw SettingsError(QStringLiteral("Fisierul de setari \"%1\" nu poate fi blocat pentru scriere: %2")
                                .arg(path_, lock.errorString()));
    QFile existing(path_);
    QByteArray current;
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw SettingsError(QStringLiteral("Fisierul de setari \"%1\" nu poate fi citit: %2")
                                    .arg(path_, existing.errorString()));
        current = existing.readAll();
        existing.close();
    }
    const QByteArray changed = edit(current);
    if (changed == current)
        return;
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly) || out.write(changed) != changed.size() || !out.commit())
        throw SettingsError(QStringLiteral("Fisierul de setari \"%1\" nu poate fi scris: %2")
                                .arg(path_, out.errorString()));
}
