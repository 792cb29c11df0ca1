// Time from process start to the main menu shown and idle (with its settings file read and applied), and its resident
// memory, against a minimal Qt Widgets window measured in the same run. Both run offscreen, alternately, and the
// medians are compared.
#include "BenchTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Sample {
    double milliseconds = 0;
    double residentMiB = 0;
};

bool runOnce(const QString& program, const QStringList& arguments, Sample& sample) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    child.start(program, arguments);
    while (!child.canReadLine()) {
        if (!child.waitForReadyRead(10000)) {
            std::fprintf(stderr, "%s non ha risposto: %s\n", qPrintable(program), child.readAllStandardError().data());
            return false;
        }
    }
    sample.milliseconds = clock.nsecsElapsed() / 1e6;
    const QList<QByteArray> words = child.readLine().trimmed().split(' ');
    sample.residentMiB = words.value(1).toDouble() / 1024.0;
    child.waitForFinished();
    return words.value(0) == "pronto";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
    QTemporaryDir programFolder;
    // The menu starts as a low-vision reader keeps it: zoomed, in high contrast, read from the settings file.
    QFile settings(programFolder.filePath(QStringLiteral("impostazioni.ini")));
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write("[aspetto]\ningrandimento=200\ncontrasto_elevato=true\n") < 0)
        return 2;
    settings.close();
    const QString menu = dir + QStringLiteral("/bench_avvio_menu");
    const QString minimal = dir + QStringLiteral("/bench_finestra_minima");
    const QStringList menuArguments{QStringLiteral("--cartella"), programFolder.path()};

    std::vector<double> menuTimes, minimalTimes, menuMemory, minimalMemory;
    Sample sample;
    for (int i = 0; i < runs + 1; ++i) {
        if (!runOnce(menu, menuArguments, sample))
            return 2;
        if (i > 0) { // the first round only warms the file cache
            menuTimes.push_back(sample.milliseconds);
            menuMemory.push_back(sample.residentMiB);
        }
        if (!runOnce(minimal, {}, sample))
            return 2;
        if (i > 0) {
            minimalTimes.push_back(sample.milliseconds);
            minimalMemory.push_back(sample.residentMiB);
        }
    }

    const double ratio = median(menuTimes) / median(minimalTimes);
    const double extraMiB = median(menuMemory) - median(minimalMemory);
    std::printf("avvio fino al menu pronto: %.1f ms; finestra minima: %.1f ms (mediane di %d avvii)\n",
                median(menuTimes), median(minimalTimes), runs);
    std::printf("rapporto tempo: %.2f (obiettivo <= 1.30)\n", ratio);
    std::printf("memoria residente: menu %.1f MiB, finestra minima %.1f MiB, differenza %.1f MiB (obiettivo <= 5)\n",
                median(menuMemory), median(minimalMemory), extraMiB);
    return ratio <= 1.3 && extraMiB <= 5.0 ? 0 : 1;
}
