// Benchmark of the documents of a request: the notifications of a request
// with many holders (one page each) and the request-and-offer form of a
// request with many sellers, each built whole into a file as the listing
// builds it. The peer, in the same run, is reading what the document is
// filled from (the same statements) and copying its template file: what the
// ratio shows is the cost of the filling and writing on top of that.
//
//     bench_register_docs [holders] [sellers] [runs]     (default 50 20 15)
#include "benchtiming.h"
#include "docfixture.h"
#include "register/documents/actdocuments.h"
#include "register/documents/documentfiles.h"
#include "register/documents/notifications.h"
#include "register/documents/requestform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void copyTemplate(const QString &file, const QString &to)
{
    QFile::remove(to);
    QFile::copy(DataTemplatePath(file), to);
}

void report(const char *what, double ms, double peer)
{
    std::printf("%-44s %8.2f ms   peer %7.2f ms   ratio %5.1f   %s\n", what, ms, peer, ms / peer,
                ms < 100 ? "under 100 ms" : "OVER 100 ms");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int holders = argc > 1 ? std::atoi(argv[1]) : 50;
    const int sellers = argc > 2 ? std::atoi(argv[2]) : 20;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    QTemporaryDir folder;
    resetSession(folder.path());
    QDir().mkpath(session().dataFolder);
    docfixture::prepareDataFolder(true);

    // Request 1: `holders` holders with their notifications; request 2:
    // `sellers` sellers, each with a mandatary, and a holder of every rank.
    docfixture::Request many;
    many.holders = holders;
    docfixture::addOpenedRequest(many, {QStringLiteral("ANA VASILE"), QStringLiteral("BOGDAN ROTARU")});
    docfixture::Request form;
    form.id = 2;
    form.sellers = sellers;
    docfixture::addRequest(form);
    for (int k = 1; k <= sellers; ++k)
        docfixture::addSeller(2000 + k, 2, k, QStringLiteral("VANZATOR NUMARUL %1").arg(k), QStringLiteral("1800101080016"),
                              QStringLiteral("MANDATAR %1").arg(k), QStringLiteral("1700303080039"));
    for (int rank = 1; rank <= 7; ++rank)
        docfixture::addHolder(5000 + rank, 2, rank, QStringLiteral("PREEMPTOR RANG %1").arg(rank), QStringLiteral("Str. Mare 1"));

    const QString out = folder.filePath(QStringLiteral("doc.rtf"));
    const qint64 notification = 1002; // the first notification of request 1
    const double notifications = bench::measure(runs, [&] { BuildActDocument(notification, out); });
    const double notificationsPeer = bench::measure(runs, [&] {
        LoadNotifications(1);
        LoadSellers(1);
        copyTemplate(QStringLiteral("Anexa_4.rtf"), out);
    });
    const double formMs = bench::measure(runs, [&] { BuildRequestForm(2, out); });
    const double formPeer = bench::measure(runs, [&] {
        LoadSellers(2);
        LoadHolders(2);
        copyTemplate(QStringLiteral("CeresiOfertaPF3.rtf"), out);
    });
    std::printf("documents of a request, median of %d runs\n", runs);
    report(qPrintable(QStringLiteral("notifications, %1 holders (%1 pages)").arg(holders)), notifications, notificationsPeer);
    report(qPrintable(QStringLiteral("request-and-offer form, %1 sellers").arg(sellers)), formMs, formPeer);
    return 0;
}
