#include "platform/filecase.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString findFileNoCase(const QString &folder, const QString &name)
{
    const QString exact = QDir(folder).filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    }
    return exact;
}

QString resolvePathNoCase(const QString &path)
{
    const QFileInfo info(path);
    return findFileNoCase(info.path(), info.fileName());
}

bool existsNoCase(const QString &folder, const QString &name)
{
    return QFileInfo::exists(findFileNoCase(folder, name));
}

} // namespace platform
