// The backup file type on the desktop: the MIME type, the desktop entry that
// opens an archive with the program, and the icon, in the user's data folder.
#include "backup/filetype.h"

#include "archivebytes.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(BackupFileType, RegisteredOnceInTheUsersDataFolder)
{
    testsupport::TempFolder home;
    const QByteArray privateDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString program = home.file("Program Files/arvena3");
    ASSERT_TRUE(backup::RegisterBackupType(program));

    const QByteArray mime = archivebytes::read(home.file("mime/packages/arvena3-av3.xml"));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.av3\"/>"));
    EXPECT_TRUE(mime.contains(backup::kBackupMimeType));
    const QByteArray entry = archivebytes::read(home.file("applications/arvena3.desktop"));
    EXPECT_TRUE(entry.contains("Exec=\"" + program.toUtf8() + "\" %f\n")) << entry.toStdString();
    EXPECT_TRUE(entry.contains("MimeType=application/x-arvena3-backup;\n"));
    EXPECT_TRUE(QFileInfo(home.file("icons/hicolor/scalable/apps/arvena3.svg")).size() > 0);

    // The desktop's own database knows the extension now.
    if (testsupport::haveTool("update-mime-database")) {
        const QByteArray globs = archivebytes::read(home.file("mime/globs2"));
        EXPECT_TRUE(globs.contains("application/x-arvena3-backup:*.av3")) << globs.toStdString();
    }

    // A second start finds everything in place and writes nothing.
    const QDateTime written = QFileInfo(home.file("applications/arvena3.desktop")).lastModified();
    QFile::remove(home.file("mime/globs2"));
    ASSERT_TRUE(backup::RegisterBackupType(program));
    EXPECT_EQ(QFileInfo(home.file("applications/arvena3.desktop")).lastModified(), written);
    EXPECT_FALSE(QFile::exists(home.file("mime/globs2")));
    qputenv("XDG_DATA_HOME", privateDataHome);
}
