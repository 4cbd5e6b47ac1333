#include "register/documents/documentfiles.h"

#include "platform/filecase.h"
#include "platform/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

QString inDataFolder(const QString &name)
{
    return platform::resolvePathNoCase(QDir(session().dataFolder).filePath(name));
}

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

QString DataTemplatePath(const QString &file)
{
    return inDataFolder(file);
}

bool DocumentExists(const QString &path)
{
    return QFileInfo(platform::resolvePathNoCase(path)).isFile();
}

WholeDocument::WholeDocument(const QString &target)
    : target_(target), part_(target + QStringLiteral(".part"))
{
}

WholeDocument::~WholeDocument()
{
    if (!committed_)
        QFile::remove(part_);
}

bool WholeDocument::commit(QString *error)
{
    const QString shown = QDir::toNativeSeparators(target_);
    if (!QFileInfo(part_).isFile()) {
        *error = QStringLiteral("Documentul %1 nu a putut fi scris!").arg(shown);
        return false;
    }
    // One rename: the target is either the old file or the whole new one.
    std::error_code failure;
    std::filesystem::rename(nativePath(part_), nativePath(target_), failure);
    if (failure) {
        QFile::remove(part_);
        *error = QStringLiteral("Documentul %1 nu poate fi salvat (%2)!")
                     .arg(shown, QString::fromLocal8Bit(failure.message().c_str()));
        return false;
    }
    committed_ = true;
    return true;
}

QString WholeDocument::explain(const QString &engineError) const
{
    QString text = engineError;
    return text.replace(QDir::toNativeSeparators(part_), QDir::toNativeSeparators(target_));
}
