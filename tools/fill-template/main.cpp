// fill-template: writes every carried template filled with sample values, so
// that a person can read the documents as the clerk will print them.
//
//     fill-template <templates folder> <output folder> [resource ...]
//
// scripts/render-templates.sh runs it and turns the results into PDF files.
#include "samplefill.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() < 2) {
        err << "usage: fill-template <templates folder> <output folder> [resource ...]\n";
        return 2;
    }
    const QString folder = args[0];
    const QString output = args[1];
    const QStringList only = args.mid(2);
    QDir().mkpath(output);

    const QList<samplefill::TemplateEntry> table = samplefill::readMarkerTable(folder);
    if (table.isEmpty()) {
        err << "no markers.tsv in " << folder << "\n";
        return 1;
    }
    samplefill::Sample sample;
    sample.firstRankHolders = {QString::fromUtf8("Popescu Elena"), QString::fromUtf8("Popescu Dănuț")};
    sample.expiredFiles = {QString::fromUtf8("Nr.231 din 02.03.2026 - Popescu Ion"),
                           QString::fromUtf8("Nr.236 din 04.03.2026 - Mureșan Ștefan"),
                           QString::fromUtf8("Nr.240 din 09.03.2026 - Țăranu Ana")};
    int failed = 0;
    for (const samplefill::TemplateEntry &entry : table) {
        if (entry.role == "fragment" || (!only.isEmpty() && !only.contains(entry.resource)))
            continue;
        const QString dest = QDir(output).filePath(entry.resource + ".rtf");
        if (!samplefill::fillTemplate(folder, entry, dest, samplefill::readableValue, sample)) {
            err << "could not fill " << entry.resource << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
