// Stands for a copy of the program with the request dialog open: makes the
// dialog's working tables in the program folder given as argument, prints
// "held" and waits until its standard input closes or it is killed.
#include "datastore/schema.h"
#include "dialogs/workingtables.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    resetSession(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(session().dataFolder);
    WorkingTables tables;
    try {
        CreateTables();
        tables = CreateWorkingTables(QStringLiteral("-1"));
    } catch (const std::exception &e) {
        std::printf("failed %s\n", e.what());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    char buffer[64];
    while (::read(0, buffer, sizeof buffer) > 0) {
    }
    DropWorkingTables(tables);
    return 0;
}
