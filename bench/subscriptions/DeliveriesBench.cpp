// The newspaper arriving by itself, with the window thread probed every 10 ms throughout: a check of 20
// subscriptions with nothing new, and one that brings a 100 MB issue, against curl -o of the same archive. The
// longest stall must stay within 100 ms; the idle loop's own stall is printed beside it.
#include "BenchTools.h"
#include "service/ServiceAddress.h"
#include "subscriptions/SubscriptionCheck.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void writeArchive(const QString& path, int megabytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk(1 << 20, 'x');
    chunk.replace(0, 4, "PK\x03\x04");
    for (int mb = 0; mb < std::max(1, megabytes); ++mb)
        file.write(megabytes == 0 ? chunk.left(4096) : chunk);
}

struct Run {
    double ms = 0;
    double stallMs = 0;
    int arrived = 0;
};

Run check(const QList<Subscription>& subscriptions, const QString& store) {
    Run run;
    run.ms = elapsedMs([&] {
        StallMeter meter;
        SubscriptionCheck check({"bench", "bench"}, subscriptions, store);
        QObject::connect(&check, &SubscriptionCheck::checked, [&](int, const SubscriptionCheck::Result& result) {
            if (!result)
                qFatal("check failed: %s", qPrintable(result.reason()));
            run.arrived += result.value() ? 1 : 0;
        });
        bool ended = false;
        QObject::connect(&check, &SubscriptionCheck::finished, [&](const Outcome<>& outcome) {
            if (!outcome)
                qFatal("check failed: %s", qPrintable(outcome.reason()));
            ended = true;
        });
        check.start();
        runUntil([&] { return ended; });
        run.stallMs = meter.worstMs();
    });
    return run;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir service, store;
    QList<Subscription> twenty;
    for (int i = 1; i <= 20; ++i) {
        Subscription subscription;
        subscription.masthead = QStringLiteral("Testata ") + QChar(u'A' + i - 1); // no digits: the date follows
        twenty.append(subscription);
        const QString name = subscription.masthead + "20261205.zip";
        writeArchive(service.filePath(name), 0);
        writeArchive(store.filePath(name), 0);
    }
    writeArchive(service.filePath("Grande20261205.zip"), 100);

    QProcess demo;
    demo.start(QCoreApplication::applicationDirPath() + "/lettore-giornali-servizio-demo",
               {"--porta", "0", "--profilo", "bench:bench:" + service.path()});
    if (!demo.waitForReadyRead(10000))
        qFatal("the demo service did not start");
    ServiceAddress::setBase("http://127.0.0.1:" + QString::fromLatin1(demo.readLine().trimmed().split(' ').value(1)));

    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 5;
    std::vector<double> nothingMs, bigMs, curlMs;
    double nothingStall = 0, bigStall = 0;
    Subscription grande;
    grande.masthead = "Grande";
    const QString address =
        ServiceAddress::editions("bench", "bench", "Grande", "20261205").toString(QUrl::FullyEncoded);
    for (int i = 0; i <= runs; ++i) {
        const Run nothing = check(twenty, store.path());
        if (nothing.arrived != 0)
            qFatal("something arrived");
        QFile::remove(store.filePath("Grande20261205.zip"));
        const Run big = check({grande}, store.path());
        if (big.arrived != 1)
            qFatal("the large issue did not arrive");
        const double curl = elapsedMs([&] {
            if (QProcess::execute("curl", {"-s", "-f", "-o", store.filePath("curl.zip"), address}) != 0)
                qFatal("curl failed");
        });
        if (i == 0)
            continue; // warms the service and the file cache
        nothingMs.push_back(nothing.ms);
        bigMs.push_back(big.ms);
        curlMs.push_back(curl);
        nothingStall = std::max(nothingStall, nothing.stallMs);
        bigStall = std::max(bigStall, big.stallMs);
    }
    std::printf("controllo di 20 abbonamenti senza novità: %.0f ms (mediana di %d); finestra ferma al massimo: "
                "%.1f ms (obiettivo <= 100)\n",
                median(nothingMs), runs, nothingStall);
    std::printf("arrivo di un numero di 100 MB: %.0f ms; curl -o: %.0f ms; rapporto %.2f; finestra ferma al massimo: "
                "%.1f ms (obiettivo <= 100)\n",
                median(bigMs), median(curlMs), median(bigMs) / median(curlMs), bigStall);
    std::printf("finestra ferma con il ciclo inattivo: %.1f ms\n", idleStallMs());
    demo.kill();
    demo.waitForFinished();
    return 0;
}
