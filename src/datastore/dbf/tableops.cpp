#include "datastore/dbf/tableops.h"

#include "platform/filecase.h"
#include "platform/nativefile.h"
#include "datastore/dbf/journal.h"
#include "datastore/dbf/tablefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <filesystem>
#include <vector>

namespace dbf {
namespace {

[[noreturn]] void failFor(const QString &path, const QString &problem)
{
    throw DbfError(QStringLiteral("Tabela %1: %2").arg(QDir::toNativeSeparators(path), problem));
}

// Writes `header` and the records to a file beside `path` and renames it over
// `path`. The file is on disk before the rename, so the rename is the moment
// the table changes.
//
// The new file is named after the table: a rebuild holds the table's
// exclusive lock, so no other process writes it at the same time, and a file
// left by a process killed half way is simply overwritten by the next
// rebuild. A table being created has no lock yet, so that name also carries
// the process id.
void replaceFile(const QString &path, const QByteArray &header, const std::vector<char> &records, bool creating = false)
{
    const QFileInfo info(path);
    const QString temporary = info.dir().filePath(
        creating ? QStringLiteral(".%1.%2.new").arg(info.fileName()).arg(QCoreApplication::applicationPid())
                 : QStringLiteral(".%1.new").arg(info.fileName()));
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        failFor(path, QStringLiteral("fisierul nou nu poate fi creat (%1)").arg(out.errorString()));
    const char eof = 0x1A;
    const bool written = out.write(header) == header.size()
                         && out.write(records.data(), qint64(records.size())) == qint64(records.size())
                         && out.write(&eof, 1) == 1 && out.flush();
    const bool synced = written && platform::syncToDisk(out);
    out.close();
    if (synced && creating) {
        // A new table must not replace one that another process created
        // meanwhile (and may already have written to): a hard link fails
        // when the name is taken, where a rename would not.
        const platform::LinkResult linked = platform::linkNewName(temporary, path);
        if (linked != platform::LinkResult::Unsupported) {
            QFile::remove(temporary);
            if (linked == platform::LinkResult::NameTaken)
                failFor(path, QStringLiteral("exista deja"));
            return;
        }
        // A file system without hard links: rename below.
    }
    std::error_code ec;
    if (synced)
        std::filesystem::rename(QFile::encodeName(temporary).toStdString(), QFile::encodeName(path).toStdString(), ec);
    if (!synced || ec) {
        QFile::remove(temporary);
        failFor(path, QStringLiteral("fisierul nou nu poate fi scris pe disc"));
    }
}

void removeProductionIndex(const QString &path)
{
    const QFileInfo info(path);
    QFile::remove(platform::findFileNoCase(info.path(), info.completeBaseName() + QStringLiteral(".mdx")));
}

// Where the value of a new field comes from in an old record.
struct Source {
    // Field of the old table, or -1 for a new, blank one.
    int field = -1;
};

// Builds the table again with `fields`; `sources[i]` says which old field
// fills new field i. Deleted rows are left out.
void rebuild(TableFile &table, QList<Field> fields, const QList<Source> &sources)
{
    QString why;
    QByteArray header = buildHeader(fields, &why);
    if (header.isEmpty())
        failFor(table.path(), why);
    header[kLanguageDriverOffset] = char(table.header().languageDriver ? table.header().languageDriver
                                                                       : kLanguageDriver1250);
    const int length = 1 + [&] {
        int sum = 0;
        for (const Field &f : fields)
            sum += f.width;
        return sum;
    }();
    std::vector<char> records;
    std::vector<char> record(size_t(length), ' ');
    quint32 kept = 0;
    const QList<Field> &old = table.fields();
    for (quint32 row = 0; row < table.rowCount(); ++row) {
        const Record r = table.record(row);
        if (r.deleted())
            continue;
        std::fill(record.begin(), record.end(), ' ');
        for (int i = 0; i < fields.size(); ++i) {
            if (sources[i].field < 0)
                continue;
            const Field &from = old[sources[i].field];
            const Field &to = fields[i];
            const char *value = r.data + from.offset;
            char *target = record.data() + to.offset;
            if (to.type == 'N' || to.type == 'F') {
                // Numbers stay right-aligned in a wider field.
                int b = 0;
                while (b < from.width && value[b] == ' ')
                    ++b;
                const int n = trimmedLength(value, from.width) - b;
                if (n > 0 && n <= to.width)
                    std::memcpy(target + (to.width - n), value + b, size_t(n));
            } else {
                std::memcpy(target, value, size_t(qMin(from.width, to.width)));
            }
        }
        records.insert(records.end(), record.begin(), record.end());
        ++kept;
    }
    stampHeader(header.data(), kept, table.header().changeCounter + 1);
    replaceFile(table.path(), header, records);
    removeProductionIndex(table.path());
}

// Runs `work` on the table under an exclusive lock (and its folder held as
// by a statement, see journal.h).
template<typename Work>
void withExclusive(const QString &path, Work work)
{
    auto table = TableFile::open(path);
    const FolderStatement folder(QFileInfo(table->path()).path());
    table->begin(LockMode::Exclusive);
    try {
        work(*table);
    } catch (...) {
        table->end();
        throw;
    }
    table->end();
}

QList<Source> identity(int count)
{
    QList<Source> sources;
    for (int i = 0; i < count; ++i)
        sources.append(Source{i});
    return sources;
}

} // namespace

void createTable(const QString &path, const QList<Field> &fields)
{
    const QFileInfo info(path);
    if (platform::existsNoCase(info.path(), info.fileName()))
        failFor(path, QStringLiteral("exista deja"));
    if (!info.dir().exists())
        failFor(path, QStringLiteral("dosarul nu exista"));
    QList<Field> checked = fields;
    QString why;
    const QByteArray header = buildHeader(checked, &why);
    if (header.isEmpty())
        failFor(path, why);
    replaceFile(path, header, {}, true);
    TableFile::forget(path);
}

QList<Field> tableFields(const QString &path)
{
    auto table = TableFile::open(path);
    table->begin(LockMode::Shared);
    const QList<Field> fields = table->fields();
    table->end();
    return fields;
}

void packTable(const QString &path)
{
    withExclusive(path, [](TableFile &table) {
        // Packing keeps the header as it is (level, language driver, field
        // descriptors); only the rows change.
        QList<Field> fields = table.fields();
        std::vector<char> records;
        quint32 kept = 0;
        for (quint32 row = 0; row < table.rowCount(); ++row) {
            const Record r = table.record(row);
            if (r.deleted())
                continue;
            records.insert(records.end(), r.data, r.data + table.header().recordLength);
            ++kept;
        }
        QFile in(table.path());
        if (!in.open(QIODevice::ReadOnly))
            failFor(table.path(), in.errorString());
        QByteArray header = in.read(table.header().headerLength);
        if (header.size() != table.header().headerLength)
            failFor(table.path(), QStringLiteral("antetul nu poate fi citit"));
        stampHeader(header.data(), kept, table.header().changeCounter + 1);
        header[kProductionIndexOffset] = 0;
        replaceFile(table.path(), header, records);
        removeProductionIndex(table.path());
    });
}

void addColumns(const QString &path, const QList<Field> &added)
{
    withExclusive(path, [&](TableFile &table) {
        QList<Field> fields = table.fields();
        QList<Source> sources = identity(int(fields.size()));
        for (const Field &f : added) {
            if (table.fieldIndex(f.name) >= 0)
                failFor(table.path(), QStringLiteral("campul %1 exista deja").arg(f.name));
            fields.append(f);
            sources.append(Source{-1});
        }
        rebuild(table, fields, sources);
    });
}

void dropColumns(const QString &path, const QStringList &names)
{
    withExclusive(path, [&](TableFile &table) {
        for (const QString &name : names)
            if (table.fieldIndex(name) < 0)
                failFor(table.path(), QStringLiteral("campul %1 nu exista").arg(name));
        QList<Field> fields;
        QList<Source> sources;
        for (int i = 0; i < table.fields().size(); ++i) {
            if (names.contains(table.fields()[i].name, Qt::CaseInsensitive))
                continue;
            fields.append(table.fields()[i]);
            sources.append(Source{i});
        }
        if (fields.isEmpty())
            failFor(table.path(), QStringLiteral("nu pot fi sterse toate campurile"));
        rebuild(table, fields, sources);
    });
}

void widenColumn(const QString &path, const QString &name, int width)
{
    withExclusive(path, [&](TableFile &table) {
        const int index = table.fieldIndex(name);
        if (index < 0)
            failFor(table.path(), QStringLiteral("campul %1 nu exista").arg(name));
        QList<Field> fields = table.fields();
        Field &f = fields[index];
        if (f.type != 'C' && f.type != 'N' && f.type != 'F')
            failFor(table.path(), QStringLiteral("campul %1 nu poate fi largit").arg(name));
        if (width < f.width)
            failFor(table.path(), QStringLiteral("campul %1 are deja %2 caractere").arg(name).arg(f.width));
        if (width == f.width)
            return;
        f.width = width;
        rebuild(table, fields, identity(int(fields.size())));
    });
}

void DetachProductionIndex(const QString &path)
{
    QFile file(platform::resolvePathNoCase(path));
    if (!file.open(QIODevice::ReadWrite))
        return;
    if (file.size() > kProductionIndexOffset && file.seek(kProductionIndexOffset))
        file.putChar('\0');
    file.close();
    const QString real = file.fileName();
    const QFileInfo info(real);
    QFile::remove(platform::findFileNoCase(info.path(), info.fileName().chopped(qMin<qsizetype>(4, info.fileName().size()))
                                                            + QStringLiteral(".mdx")));
}

} // namespace dbf
