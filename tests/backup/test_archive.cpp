// The archive format: what we write comes back whole, agrees with an
// independent reader and writer of the format, and every damaged or hostile
// archive is refused without writing outside its folder.
#include "backup/archive.h"

#include "archivebytes.h"
#include "testsupport.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace archivebytes;
using testsupport::TempFolder;

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

QString av3tool()
{
    return testsupport::sourceRoot() + QStringLiteral("/tests/backup/av3tool.py");
}

// A folder of files in the shapes a data folder has: tables larger than one
// chunk of the writer, small text, a name with Romanian letters.
QMap<QString, QByteArray> sampleFiles()
{
    QMap<QString, QByteArray> files;
    QByteArray table;
    QRandomGenerator random(17);
    for (int row = 0; table.size() < 3 * 1024 * 1024 + 123; ++row)
        table += QByteArray(" ") + QByteArray::number(row).rightJustified(10, ' ')
                 + QByteArray("POPESCU ION         ") + QByteArray::number(random.bounded(100000));
    files["Cereri.dbf"] = table;
    QByteArray noise(200000, '\0');
    for (char &c : noise)
        c = char(random.bounded(256));
    files["Log.dbf"] = noise;
    files["Arv2.set"] = "[CONST]\r\nUNITATE=PRIMARIA\r\n";
    files[QString::fromUtf8("Situa\xc5\xa3ie cerere.rtf")] = "{\\rtf1 text}";
    return files;
}

void writeFiles(const QString &folder, const QMap<QString, QByteArray> &files)
{
    for (auto it = files.begin(); it != files.end(); ++it)
        write(QDir(folder).filePath(it.key()), it.value());
}

QByteArray archiveOf(const QString &folder, const QStringList &names, int threads)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString reason;
    EXPECT_TRUE(backup::WriteArchive(folder, names, out, {}, &reason, threads)) << reason.toStdString();
    return out.data();
}

} // namespace

TEST(BackupArchive, WhatIsWrittenComesBackTheSameWhateverTheThreads)
{
    TempFolder source, target;
    const auto files = sampleFiles();
    writeFiles(source.path(), files);
    const QStringList names = files.keys();
    const QByteArray one = archiveOf(source.path(), names, 1);
    const QByteArray three = archiveOf(source.path(), names, 3);
    EXPECT_EQ(one, three);

    write(target.file("a.av3"), one);
    QDir().mkpath(target.file("out"));
    QString reason;
    qint64 last = -1;
    ASSERT_TRUE(backup::UnpackArchive(target.file("a.av3"), target.file("out"), [&](qint64 done, qint64) { last = done; },
                                      &reason))
        << reason.toStdString();
    EXPECT_EQ(last, names.size());
    for (auto it = files.begin(); it != files.end(); ++it)
        EXPECT_EQ(read(QDir(target.file("out")).filePath(it.key())), it.value()) << it.key().toStdString();
    EXPECT_EQ(QDir(target.file("out")).entryList(QDir::Files).size(), files.size());

    QList<backup::ArchiveEntry> entries;
    ASSERT_TRUE(backup::CheckArchive(target.file("a.av3"), &entries, &reason));
    ASSERT_EQ(entries.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(entries[i].name, names[i]);
        EXPECT_EQ(entries[i].size, files[names[i]].size());
    }
}

TEST(BackupArchive, TheIndependentReaderReadsOurArchives)
{
    TempFolder source, target;
    const auto files = sampleFiles();
    writeFiles(source.path(), files);
    write(target.file("ours.av3"), archiveOf(source.path(), files.keys(), 2));
    QByteArray out, err;
    ASSERT_EQ(testsupport::runProgram(kPython, {av3tool(), "list", target.file("ours.av3")}, &out, &err), 0)
        << err.toStdString();
    QStringList expected;
    for (auto it = files.begin(); it != files.end(); ++it)
        expected << it.key() + "\t" + QString::number(it.value().size()) + "\t"
                        + QCryptographicHash::hash(it.value(), QCryptographicHash::Sha256).toHex();
    EXPECT_EQ(QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts), expected);
}

TEST(BackupArchive, ArchivesOfTheIndependentWriterUnpack)
{
    TempFolder source, target;
    const auto files = sampleFiles();
    writeFiles(source.path(), files);
    QByteArray err;
    ASSERT_EQ(testsupport::runProgram(kPython, {av3tool(), "write", target.file("theirs.av3"), source.path()}, nullptr,
                                      &err),
              0)
        << err.toStdString();
    QDir().mkpath(target.file("out"));
    QString reason;
    ASSERT_TRUE(backup::UnpackArchive(target.file("theirs.av3"), target.file("out"), {}, &reason))
        << reason.toStdString();
    for (auto it = files.begin(); it != files.end(); ++it)
        EXPECT_EQ(read(QDir(target.file("out")).filePath(it.key())), it.value());
}

TEST(BackupArchive, NamesThatAreNoPlainFileNameAreRefused)
{
    for (const char *bad : {"", ".", "..", "../x", "/etc/passwd", "a\\b", "C:x", "a\x01z", "tab\there", "del\x7f"})
        EXPECT_FALSE(backup::IsSafeEntryName(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(backup::IsSafeEntryName(QString(QChar(0x81))));
    for (const char *good : {"Cereri.dbf", "ARV2.SET", ".ascuns", "a..b", "Anexa 1.rtf"})
        EXPECT_TRUE(backup::IsSafeEntryName(QString::fromLatin1(good))) << good;
}

TEST(BackupArchive, TheWriterRefusesWhatTheReaderWouldRefuse)
{
    TempFolder source;
    write(source.file("x.txt"), "x");
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString reason;
    EXPECT_FALSE(backup::WriteArchive(source.path(), {"../x.txt"}, out, {}, &reason));
    EXPECT_FALSE(backup::WriteArchive(source.path(), {QString::fromUtf8("\xe4\xb8\xad.txt")}, out, {}, &reason));
    QFile big(source.file("big.dbf"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(backup::kMaxEntrySize + 1));
    big.close();
    EXPECT_FALSE(backup::WriteArchive(source.path(), {"big.dbf"}, out, {}, &reason));
    EXPECT_TRUE(reason.contains("prea mare")) << reason.toStdString();
}

// Each damaged or hostile archive: refused, nothing left outside the unpack
// folder, the failing entry's file gone, in bounded time and memory (the
// reader never holds more than its buffers, and every loop is bounded by the
// bytes of the file and the declared sizes).
TEST(BackupArchive, DamagedAndHostileArchivesAreRefusedInsideTheirFolder)
{
    for (const Malformed &m : malformedArchives()) {
        TempFolder place;
        write(place.file("bad.av3"), m.bytes);
        const QString unpack = place.file("box/inner");
        QDir().mkpath(unpack);
        const QStringList before = tree(place.path());
        QString reason;
        EXPECT_FALSE(backup::UnpackArchive(place.file("bad.av3"), unpack, {}, &reason)) << m.label;
        EXPECT_FALSE(reason.isEmpty()) << m.label;
        QStringList after = tree(place.path());
        // Only a whole entry before the bad one may stay in the unpack folder.
        after.removeAll("box/inner/Cereri.dbf:5004");
        EXPECT_EQ(after, before) << m.label << ": " << reason.toStdString();
        EXPECT_FALSE(QFile::exists("/tmp/arvena3-evil.txt"));
        QList<backup::ArchiveEntry> entries;
        EXPECT_FALSE(backup::CheckArchive(place.file("bad.av3"), &entries, &reason)) << m.label;
    }
}

TEST(BackupArchive, AnExistingFileOrLinkIsNeverOverwrittenOrFollowed)
{
    TempFolder place;
    write(place.file("victim.txt"), "keep");
    const QString unpack = place.file("out");
    QDir().mkpath(unpack);
    ASSERT_TRUE(QFile::link(place.file("victim.txt"), QDir(unpack).filePath("a.txt")));
    write(place.file("x.av3"), int32(1) + entry("a.txt", "overwritten"));
    QString reason;
    EXPECT_FALSE(backup::UnpackArchive(place.file("x.av3"), unpack, {}, &reason));
    EXPECT_EQ(read(place.file("victim.txt")), QByteArray("keep"));
}

TEST(BackupArchive, AnEmptyArchiveAndEmptyEntriesAreWellFormed)
{
    TempFolder place;
    write(place.file("none.av3"), int32(0));
    write(place.file("zero.av3"), int32(1) + entry("gol.txt", QByteArray()));
    QString reason;
    EXPECT_TRUE(backup::UnpackArchive(place.file("none.av3"), place.path(), {}, &reason));
    EXPECT_TRUE(backup::UnpackArchive(place.file("zero.av3"), place.path(), {}, &reason)) << reason.toStdString();
    EXPECT_EQ(QFileInfo(place.file("gol.txt")).size(), 0);
}
