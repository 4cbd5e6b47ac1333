// Takes `count` values of counter `key` from the settings file of `dataFolder`
// and prints each on its own line: one workstation in the counter race test.
//
//   store_counterworker <dataFolder> <key> <count>
#include "platform/session.h"
#include "datastore/counters.h"
#include "datastore/profilefile.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: store_counterworker <dataFolder> <key> <count>\n");
        return 2;
    }
    session().dataFolder = args.at(1);
    const int count = args.at(3).toInt();
    try {
        for (int i = 0; i < count; ++i)
            std::printf("%s\n", qPrintable(TakeNextNumber(args.at(2))));
    } catch (const SettingsError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
