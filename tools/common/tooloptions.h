// What the headless tools share: "--name value" options and the way they
// report a failure.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace tools {

// Reads `args` as pairs "--name value" into *options (names without "--").
// False when a name does not start with "--" or a value is missing.
inline bool ReadOptions(const QStringList &args, QHash<QString, QString> *options)
{
    if (args.size() % 2 != 0)
        return false;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (!args[i].startsWith(QLatin1String("--")))
            return false;
        options->insert(args[i].mid(2), args[i + 1]);
    }
    return true;
}

// True when every one of `names` was given.
inline bool HasOptions(const QHash<QString, QString> &options, const QStringList &names)
{
    for (const QString &name : names)
        if (!options.contains(name))
            return false;
    return true;
}

// Writes "<tool>: <reason>" on standard error; returns the exit status 1.
inline int Fail(const char *tool, const QString &reason)
{
    std::fprintf(stderr, "%s: %s\n", tool, reason.simplified().toUtf8().constData());
    return 1;
}

} // namespace tools
