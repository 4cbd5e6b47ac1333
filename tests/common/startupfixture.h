// A private program folder for one test: the session points at it, with an
// empty "Data" folder and a system folder of its own.
#pragma once

#include "platform/session.h"
#include "testsupport.h"

#include <QDir>

class ProgramFolderFixture {
public:
    ProgramFolderFixture()
    {
        resetSession(folder.path());
        session().systemFolder = folder.file(QStringLiteral("sys"));
        QDir().mkpath(session().systemFolder);
        QDir().mkpath(session().localDataFolder);
    }
    QString path() const { return folder.path(); }
    QString file(const QString &name) const { return folder.file(name); }

    testsupport::TempFolder folder;
};

// Answers the login dialog in place of the clerk.
#include "admin/password.h"

#include <QStringList>

class ScriptedPasswordAsker : public PasswordAsker {
public:
    // Each entry is one opening of the dialog: the text typed, or a null
    // QString for "&Inchide".
    QStringList entries;
    int asked = 0;

    bool InputQuery2(QString &password) override
    {
        const QString entry = asked < entries.size() ? entries.at(asked) : QString();
        ++asked;
        if (entry.isNull())
            return false;
        password = entry;
        return true;
    }
};
