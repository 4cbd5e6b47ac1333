// A program folder whose data folder holds the real tables of the program,
// its settings file, documents and the files of the engine, as a clerk's
// installation has them.
#pragma once

#include "archivebytes.h"
#include "datastore/auditlog.h"
#include "datastore/dbf/journal.h"
#include "datastore/schema.h"
#include "datastore/settings.h"
#include "datastore/sql/database.h"
#include "startupfixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

class BackupFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        data = session().dataFolder;
        CreateTables();
        WriteSetting(QStringLiteral("CONST"), QStringLiteral("UNITATE"), QStringLiteral("PRIMARIA TEST"));
        addRequest(1);
        LogAction(QStringLiteral("Pornire program"));
        QDir().mkpath(program.file(QStringLiteral("Temp")));
    }

    void addRequest(int id)
    {
        sqlstore::database().exec(QStringLiteral("INSERT INTO ") + QuotedTablePath(QStringLiteral("Cereri.dbf"))
                                      + QStringLiteral(" (ID, NR) VALUES (?, ?)"),
                                  {id, id});
    }

    // The engine's files and the index of the old program beside the tables.
    void addEngineAndIndexFiles()
    {
        archivebytes::write(dataFile(dbf::kJournalFileName), QByteArray());
        archivebytes::write(dataFile("Arv2.set.lck"), "lock");
        archivebytes::write(dataFile("Cereri.mdx"), QByteArray(2048, 'i'));
        archivebytes::write(dataFile("gol.txt"), QByteArray());
        QFile table(dataFile("Cereri.dbf"));
        table.open(QIODevice::ReadWrite);
        table.seek(28);
        table.putChar('\x01');
    }

    void addDocuments(int count)
    {
        for (int i = 0; i < count; ++i)
            archivebytes::write(dataFile(QStringLiteral("Doc%1.rtf").arg(i)), "{\\rtf1 document " + QByteArray::number(i) + "}");
    }

    QString dataFile(const QString &name) const { return QDir(data).filePath(name); }

    // Name -> SHA-256 of every file of a folder (what a restore must bring back).
    static QMap<QString, QByteArray> contents(const QString &folder)
    {
        QMap<QString, QByteArray> out;
        const QDir dir(folder);
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
            out[name] = QCryptographicHash::hash(archivebytes::read(dir.filePath(name)), QCryptographicHash::Sha256).toHex();
        return out;
    }

    ProgramFolderFixture program;
    QString data;
};
