// A word searched across 50 generated issues of realistic size (300 articles, about 2 MB of text each) by the
// store search's core, against "bsdtar -xOf <archive> | grep -c -i <word>" for each archive, in the same run,
// with the resident memory the search adds; then the library of 5,000 stored archives shown, with the longest the
// window thread was kept from a 10 ms timer meanwhile.
#include "BenchTools.h"
#include "GeneratedArchive.h"
#include "QuietToolkit.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "reader/FrmGiornaliScaricati.h"
#include "reader/StoreSearchRunner.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// 10 sections of 30 articles of about 7 KB, each section's index after its articles.
void writeIssue(const QString& path, int seed) {
    writeArchive(path, [seed](int i) -> std::pair<QByteArray, QByteArray> {
        const int section = i / 31, entry = i % 31;
        if (section >= 10)
            return {};
        const QByteArray name = "Sezione" + QByteArray::number(section);
        if (entry < 30) {
            const QByteArray code = QByteArray::number(entry + 1).rightJustified(3, '0');
            return {name + "-" + code + ".txt", articleText(seed * 1000 + section * 30 + entry + 1, 7000)};
        }
        QByteArray index;
        for (int a = 1; a <= 30; ++a) {
            const QByteArray code = QByteArray::number(a).rightJustified(3, '0');
            index += code + " Titolo " + code + "\r\n";
        }
        return {QByteArray::number(section + 1).rightJustified(2, '0') + "-" + name + "-000.txt", index};
    });
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietToolkit toolkit;
    Toolkit::install(&toolkit);
    QTemporaryDir store;
    QStringList archives;
    for (int i = 0; i < 50; ++i) {
        archives << store.filePath(
            QStringLiteral("Prova%1.zip").arg(QDate(2026, 1, 1).addDays(i).toString("yyyyMMdd")));
        writeIssue(archives.last(), i);
    }
    const QString word = QStringLiteral("mercato");
    const long before = statusKiB("VmHWM:");
    int found = 0;
    const double ours = elapsedMs([&] { // as the search screen runs it
        StoreSearch::Runner runner(archives, word);
        bool finished = false;
        QObject::connect(&runner, &StoreSearch::Runner::found, [&](int, const auto& hits) { found += hits.size(); });
        QObject::connect(&runner, &StoreSearch::Runner::finished, [&] { finished = true; });
        runner.start();
        while (!finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
    const double growthMiB = (statusKiB("VmHWM:") - before) / 1024.0;
    const double theirs = elapsedMs([&] {
        for (const QString& archive : archives) {
            if (QProcess::execute(
                    "sh", {"-c", QStringLiteral("bsdtar -xOf '%1' | grep -c -i %2 > /dev/null").arg(archive, word)}) <
                0)
                qFatal("bsdtar or grep could not run");
        }
    });

    QTemporaryDir library;
    QDir().mkpath(library.filePath("Giornali"));
    for (int i = 0; i < 5000; ++i) {
        QFile(library.filePath(QStringLiteral("Giornali/Testata%1%2.zip")
                                   .arg(i % 50)
                                   .arg(QDate(2012, 1, 1).addDays(i).toString("yyyyMMdd"))))
            .open(QIODevice::WriteOnly);
    }
    ProgramFolder::set(library.path());
    int listed = 0;
    double stall = 0;
    const double shown = elapsedMs([&] { // from the main menu's button to the list on screen
        StallMeter meter;
        Screen<FrmGiornaliScaricati>::show();
        FrmGiornaliScaricati* screen = nullptr;
        while (!(screen = Screen<FrmGiornaliScaricati>::ifLoaded()) || !screen->isVisible())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        stall = meter.worstMs();
        listed = screen->findChild<QComboBox*>("CboGiornaliScaricati")->count();
    });

    const double ratio = ours / theirs;
    std::printf("ricerca in 50 giornali: %.0f ms (%d articoli trovati); bsdtar -xOf | grep -c -i: %.0f ms\n", ours,
                found, theirs);
    std::printf("rapporto: %.2f (obiettivo <= 1.00); memoria residente in più: %.1f MiB (obiettivo <= 50)\n", ratio,
                growthMiB);
    std::printf("biblioteca di %d giornali mostrata in %.0f ms (obiettivo <= 200); finestra ferma al massimo %.1f ms "
                "(obiettivo <= 100)\n",
                listed, shown, stall);
    return ratio <= 1.0 && growthMiB <= 50 && shown <= 200 && stall <= 100 ? 0 : 1;
}
