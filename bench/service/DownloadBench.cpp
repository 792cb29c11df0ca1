// The archive download (the code path of ScaricaGiornale) of a 100 MB archive from the demo service over
// loopback, against curl -o of the same address, in the same run; and the resident memory it adds. Then the
// listing split (CaricaElenco) at 50,000 and 500,000 entries, which must grow linearly.
#include "BenchTools.h"
#include "platform/Toolkit.h"
#include "service/ArchiveDownload.h"
#include "service/Listing.h"
#include "service/ServiceAddress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

class QuietToolkit : public Toolkit {
    class NoProgress : public Progress {
        void update(qint64, qint64) override {}
        bool cancelled() const override { return false; }
    };

public:
    void message(const QString&, const QString&, Icon) override {}
    Answer askYesNoCancel(const QString&, const QString&) override { return Answer::Cancel; }
    QString askText(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFileToOpen(const QString&, const FileFilter&, const QString&) override { return {}; }
    bool launch(const QString&, const QStringList&) override { return false; }
    bool openWithDesktop(const QString&) override { return false; }
    std::unique_ptr<Progress> showProgress(const QString&, const QString&) override {
        return std::make_unique<NoProgress>();
    }
};

long statusKiB(const char* field) {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(qstrlen(field))).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void writeLargeArchive(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    uint32_t state = 12345;
    for (int mb = 0; mb < 100; ++mb) {
        for (char& c : chunk) {
            state = state * 1103515245u + 12345u;
            c = static_cast<char>(state >> 24);
        }
        if (mb == 0)
            chunk.replace(0, 4, "PK\x03\x04");
        file.write(chunk);
    }
}

} // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process and is reused, so that the listing's growth measured is the code's,
    // not the cost of the operating system's first touch of fresh pages (as in the article benchmark).
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    QCoreApplication app(argc, argv);
    QuietToolkit toolkit;
    Toolkit::install(&toolkit);
    QTemporaryDir dir;
    writeLargeArchive(dir.filePath("Grande20261205.zip"));

    QProcess service;
    service.start(QCoreApplication::applicationDirPath() + "/servizio-demo",
                  {"--porta", "0", "--profilo", "bench:bench:" + dir.path()});
    if (!service.waitForReadyRead(10000))
        qFatal("the demo service did not start");
    const QByteArray port = service.readLine().trimmed().split(' ').value(1);
    ServiceAddress::setBase("http://127.0.0.1:" + QString::fromLatin1(port));
    const QUrl address = ServiceAddress::editions("bench", "bench", "Grande", "20261205");

    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 5;
    std::vector<double> ours, curl;
    const long residentBefore = statusKiB("VmRSS:");
    for (int i = 0; i <= runs; ++i) {
        const double a = elapsedMs([&] {
            if (!ArchiveDownload::URLDownloadToFile(address, dir.filePath("nostro.zip"), "Grande").ok)
                qFatal("download failed");
        });
        const double b = elapsedMs([&] {
            if (QProcess::execute(
                    "curl", {"-s", "-f", "-o", dir.filePath("curl.zip"), address.toString(QUrl::FullyEncoded)}) != 0)
                qFatal("curl failed");
        });
        if (i == 0)
            continue; // warms the service and the file cache
        ours.push_back(a);
        curl.push_back(b);
    }
    const double growthMiB = (statusKiB("VmHWM:") - residentBefore) / 1024.0;
    const double ratio = median(ours) / median(curl);
    std::printf("scaricamento di 100 MB: %.0f ms; curl -o: %.0f ms (mediane di %d)\n", median(ours), median(curl),
                runs);
    std::printf(
        "rapporto tempo: %.2f (obiettivo <= 1.20); crescita della memoria residente: %.1f MiB (obiettivo <= 20)\n",
        ratio, growthMiB);

    auto listingPage = [](int entries) {
        QString page = QStringLiteral("<HTML><BODY><PRE>");
        for (int i = 0; i < entries; ++i)
            page += QStringLiteral("Testata numero %1\r\n").arg(i);
        return page + QStringLiteral("</PRE></BODY></HTML>");
    };
    const QString small = listingPage(50000), large = listingPage(500000);
    std::vector<double> smallTimes, largeTimes;
    Listing::entries(Listing::block(large)); // warm-up: the heap grows once
    for (int i = 0; i < 5; ++i) {
        smallTimes.push_back(elapsedMs([&] { Listing::entries(Listing::block(small)); }));
        largeTimes.push_back(elapsedMs([&] { Listing::entries(Listing::block(large)); }));
    }
    const double growth = median(largeTimes) / median(smallTimes);
    std::printf("elenco di 50.000 voci: %.2f ms; di 500.000: %.2f ms; crescita per 10 volte le voci: %.2f "
                "(obiettivo <= 12)\n",
                median(smallTimes), median(largeTimes), growth);
    service.kill();
    service.waitForFinished();
    return ratio <= 1.2 && growthMiB <= 20 && growth <= 12 ? 0 : 1;
}
