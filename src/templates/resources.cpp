#include "templates/resources.h"

#include "platform/filehelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString entryNoCase(const QString &folder, const QString &name)
{
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + (folder.endsWith('/') ? "" : "/") + entry;
    }
    return {};
}

} // namespace

QString ResourcePath(const QString &name, const QString &type)
{
    if (name.isEmpty() || type.isEmpty())
        return {};
    const QString folder = entryNoCase(":/", type);
    if (folder.isEmpty())
        return {};
    const QString path = entryNoCase(folder, name);
    return QFileInfo(path).isFile() ? path : QString();
}

bool HasResource(const QString &name, const QString &type)
{
    return !ResourcePath(name, type).isEmpty();
}

QByteArray ResourceData(const QString &name, const QString &type)
{
    QFile file(ResourcePath(name, type));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool ExtractResource(const QString &name, const QString &type, const QString &path, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QString source = ResourcePath(name, type);
    if (source.isEmpty())
        return fail("Programul nu contine resursa " + name + " (" + type + ")!");
    if (QFileInfo::exists(path) && (IsFileHeldOpen(path) || !QFile::remove(path)))
        return fail("Fisierul " + path + " este deschis!");
    QFile in(source);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return fail("Nu pot scrie fisierul " + path + "!");
    const QByteArray data = in.readAll();
    if (out.write(data) != data.size()) {
        out.remove();
        return fail("Nu pot scrie fisierul " + path + "!");
    }
    return true;
}
