// Extraction of a generated issue of 20,000 entries (about 60 MB expanded, deflated) through the unzip job with
// its default options, against bsdtar -xf of the same archive, in the same run. Both are timed from process
// start to exit, alternately; the job's peak resident memory is reported too. Then one entry nested 30,000
// folders deep, against an archive of one small entry: its time and the memory it adds.
#include "BenchTools.h"
#include "GeneratedArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

std::pair<QByteArray, QByteArray> issueEntry(int i) {
    if (i >= 20000)
        return {};
    const int s = i / 100, a = i % 100;
    return {QStringLiteral("Sezione%1-%2.txt").arg(s, 3, 10, QChar('0')).arg(a, 3, 10, QChar('0')).toUtf8(),
            articleText(i, 3000)};
}

double timedRun(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    if (output)
        *output = process.readAllStandardOutput();
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString archivePath = dir.filePath("giornale.zip");
    if (!writeArchive(archivePath, issueEntry))
        qFatal("cannot write the archive");
    const QString child = QCoreApplication::applicationDirPath() + "/bench_estrazione_figlio";
    std::vector<double> ours, theirs;
    long peakKiB = 0;
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 7;
    for (int i = 0; i <= runs; ++i) {
        const QString oursDir = dir.filePath("nostro"), theirsDir = dir.filePath("bsdtar");
        QDir(oursDir).removeRecursively();
        QDir(theirsDir).removeRecursively();
        QDir().mkpath(theirsDir);
        QByteArray output;
        ::sync(); // what the last run left to write does not land on the next one
        const double a = timedRun(child, {archivePath, oursDir}, &output);
        ::sync();
        const double b = timedRun("bsdtar", {"-xf", archivePath, "-C", theirsDir});
        const QList<QByteArray> words = output.trimmed().split(' ');
        if (words.value(0) != "0")
            qFatal("extraction returned %s", output.constData());
        if (i == 0)
            continue; // warms the file cache
        ours.push_back(a);
        theirs.push_back(b);
        peakKiB = std::max(peakKiB, words.value(1).toLong());
    }
    const double ratio = median(ours) / median(theirs);
    std::printf("estrazione di 20000 voci: CGUnzipFiles::Unzip %.0f ms, bsdtar -xf %.0f ms (mediane di %d)\n",
                median(ours), median(theirs), runs);
    std::printf("rapporto: %.2f (obiettivo <= 1.15)\n", ratio);
    std::printf("memoria residente di picco: %.1f MiB (obiettivo <= 40)\n", peakKiB / 1024.0);

    const QString deep = dir.filePath("profondo.zip"), small = dir.filePath("piccolo.zip");
    writeArchive(deep, [](int i) {
        return i > 0 ? std::pair<QByteArray, QByteArray>()
                     : std::pair{QByteArray("d/").repeated(30000) + "f.txt", QByteArray("x")};
    });
    writeArchive(small, [](int i) {
        return i > 0 ? std::pair<QByteArray, QByteArray>() : std::pair{QByteArray("f.txt"), QByteArray("x")};
    });
    QByteArray deepOutput, smallOutput;
    const double smallMs = timedRun(child, {small, dir.filePath("piccolo")}, &smallOutput);
    const double deepMs = timedRun(child, {deep, dir.filePath("profondo")}, &deepOutput);
    const double extraMiB =
        (deepOutput.trimmed().split(' ').value(1).toLong() - smallOutput.trimmed().split(' ').value(1).toLong()) /
        1024.0;
    std::printf("voce a 30000 livelli: %.0f ms (una voce piccola: %.0f ms; obiettivo < 1000), memoria in più %.1f MiB "
                "(obiettivo < 20), codice %s\n",
                deepMs, smallMs, extraMiB, deepOutput.trimmed().split(' ').value(0).constData());
    return ratio <= 1.15 && peakKiB <= 40 * 1024 && deepMs < 1000 && extraMiB < 20 ? 0 : 1;
}
