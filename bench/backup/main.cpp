// Packing a data folder against compressing its bytes with zlib.
//
//     bench_backup [--requests N] [--runs R] [--threads T] [--folder DIR]
//
// Generates the engine benchmark's data folder of N requests (default
// 50 000) and measures, median of R runs (default 3):
//   peer   every file of the folder compressed with zlib at level 9 in one
//          thread (compress2), the bytes only, no file written;
//   pack   the whole backup of the program (Pack): the held copy of the
//          folder, its cleaning, and the archive written beside its target
//          and renamed into place, with T threads (default: the cores);
//   pack1  the same with one thread.
// It prints each time (wall clock, and the processor time of all threads),
// the ratios pack/peer and pack1/peer, and how many times the progress window
// moved. The goal is pack/peer <= 1.2 in wall-clock time. On a machine whose
// cores are busy with other work the threads of pack cannot run side by side;
// the processor-time ratio then still shows what the packing costs.
#include "benchtiming.h"
#include "backup/archive.h"
#include "backup/backupfiles.h"
#include "backup/pack.h"
#include "datagen.h"
#include "platform/prompter.h"
#include "platform/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

class CountingPrompter : public Prompter {
public:
    int Mesaj(const QString &, const QString &, int, int) override { return ResultOk; }
    void ShowProblem(const QString &, QWidget *) override {}
    void ShowIndication(const QString &, QWidget *) override {}
    void ProgressBegin(const QString &, int) override {}
    void ProgressStep() override { ++steps; }
    void ProgressEnd() override {}
    int steps = 0;
};

// Processor time of the whole process (every thread), in seconds.
double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// Reads every file and compresses it with level 9, one after the other.
Timing zlibPeer(const QString &folder, qint64 *bytes, qint64 *packed)
{
    const QStringList names = backup::BackupFileNames(folder);
    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuSeconds();
    *bytes = 0;
    *packed = 0;
    for (const QString &name : names) {
        QFile f(QDir(folder).filePath(name));
        f.open(QIODevice::ReadOnly);
        const QByteArray in = f.readAll();
        uLongf length = compressBound(uLong(in.size()));
        std::vector<Bytef> out(length);
        compress2(out.data(), &length, reinterpret_cast<const Bytef *>(in.constData()), uLong(in.size()), 9);
        *bytes += in.size();
        *packed += qint64(length);
    }
    return {clock.elapsed() / 1000.0, cpuSeconds() - cpu};
}

Timing packOnce(const QString &target, int threads, int *steps)
{
    CountingPrompter prompter;
    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuSeconds();
    const backup::PackResult result = backup::Pack(target, prompter, threads);
    const Timing timing{clock.elapsed() / 1000.0, cpuSeconds() - cpu};
    if (!result.ok) {
        std::fprintf(stderr, "Pack failed: %s\n", qPrintable(result.reason));
        std::exit(1);
    }
    *steps = prompter.steps;
    return timing;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int requests = 50000;
    int runs = 3;
    int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    QString given;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--requests")
            requests = args[i + 1].toInt();
        else if (args[i] == "--runs")
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == "--threads")
            threads = std::max(1, args[i + 1].toInt());
        else if (args[i] == "--folder")
            given = args[i + 1];
    }
    QTemporaryDir home;
    resetSession(home.path());
    QDir().mkpath(session().workFolder);
    const QString data = given.isEmpty() ? session().dataFolder : given;
    session().dataFolder = data;
    if (given.isEmpty()) {
        QDir().mkpath(data);
        QElapsedTimer clock;
        clock.start();
        benchdata::generate(data, requests);
        std::printf("data folder: %d requests, generated in %.1f s\n", requests, clock.elapsed() / 1000.0);
    }
    const QString target = QDir(home.path()).filePath("bench.av3");

    std::vector<double> peer, pack, pack1, peerCpu, packCpu, pack1Cpu;
    qint64 bytes = 0, packed = 0;
    int steps = 0;
    for (int r = 0; r < runs; ++r) {
        const Timing z = zlibPeer(data, &bytes, &packed);
        const Timing k = packOnce(target, threads, &steps);
        int unused = 0;
        const Timing k1 = packOnce(target, 1, &unused);
        peer.push_back(z.wall);
        pack.push_back(k.wall);
        pack1.push_back(k1.wall);
        peerCpu.push_back(z.cpu);
        packCpu.push_back(k.cpu);
        pack1Cpu.push_back(k1.cpu);
    }
    const double p = bench::median(peer), k = bench::median(pack), k1 = bench::median(pack1);
    const double pc = bench::median(peerCpu), kc = bench::median(packCpu), k1c = bench::median(pack1Cpu);
    std::printf("files: %lld bytes in %d files, zlib level 9 gives %lld bytes, archive %lld bytes\n", bytes,
                int(backup::BackupFileNames(data).size()), packed, QFileInfo(target).size());
    std::printf("                                   wall         cpu\n");
    std::printf("peer  zlib level 9, one thread: %8.3f s  %8.3f s\n", p, pc);
    std::printf("pack  %d thread(s):              %8.3f s  %8.3f s   ratio %.2f (cpu %.2f)\n", threads, k, kc, k / p,
                kc / pc);
    std::printf("pack1 one thread:               %8.3f s  %8.3f s   ratio %.2f (cpu %.2f)\n", k1, k1c, k1 / p,
                k1c / pc);
    std::printf("progress steps during a pack: %d\n", steps);
    return 0;
}
