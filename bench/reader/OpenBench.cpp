// From ApriArchivio called on the large generated issue (200 sections, 20,000 articles) to the reader showing its
// first section, against bsdtar -xf of the same archive, in the same run (offscreen, alternately, medians); and the
// longest the window thread was kept from a 10 ms timer meanwhile, against the same loop idle.
#include "BenchTools.h"
#include "LargeIssue.h"
#include "QuietToolkit.h"
#include "SampleIssue.h"
#include "platform/Folders.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/IssueOpening.h"
#include "reader/Module1.h"
#include "reader/ReaderTitle.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

void removeFolder(const QString& path) {
    QDir(path).removeRecursively();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LargeIssueFolder issue;
    const QString& archive = issue.archive;
    const SampleIssue::Layout& layout = issue.layout;
    QTemporaryDir& programFolder = issue.folder;
    QuietToolkit toolkit;
    Toolkit::install(&toolkit);

    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 5;
    std::vector<double> opening, bsdtar, extraction;
    double worstStall = 0;
    const QString theirs = programFolder.filePath("bsdtar");
    for (int i = 0; i <= runs; ++i) {
        // Both folders are emptied together before either side runs, and the sides take turns going first: the
        // file system makes files more slowly right after many were deleted, and neither side should pay for it
        // alone.
        removeFolder(programFolder.filePath("Temp"));
        removeFolder(theirs);
        QDir().mkpath(theirs);
        ::sync(); // what the last run left to write does not land on this one
        double ours = 0, reference = 0;
        const auto runOurs = [&] {
            QElapsedTimer clock;
            clock.start();
            {
                StallMeter meter;
                Module1::ApriArchivio(archive, ReaderTitle::fromBaseName(QFileInfo(archive).completeBaseName()));
                while (IssueOpening::isRunning())
                    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
                if (i > 0)
                    extraction.push_back(clock.nsecsElapsed() / 1e6); // the archive is in the folder
                waitForReader();
                QApplication::processEvents(); // shown and painted
                if (i > 0)
                    worstStall = std::max(worstStall, meter.worstMs());
            }
            ours = clock.nsecsElapsed() / 1e6;
            FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
            if (!reader || reader->findChild<QComboBox*>("CboTitolo")->count() != layout.sections ||
                !toolkit.lastMessage.isEmpty())
                qFatal("the reader did not open on the issue");
            delete reader;
        };
        const auto runTheirs = [&] {
            QElapsedTimer clock;
            clock.start();
            if (QProcess::execute("bsdtar", {"-xf", archive, "-C", theirs}) != 0)
                qFatal("bsdtar failed");
            reference = clock.nsecsElapsed() / 1e6;
        };
        if (i % 2 == 0) {
            runOurs();
            runTheirs();
        } else {
            runTheirs();
            runOurs();
        }
        if (i == 0)
            continue; // warms the file cache
        opening.push_back(ours);
        bsdtar.push_back(reference);
    }
    const double ratio = median(opening) / median(bsdtar);
    std::printf("apertura del giornale grande fino alla prima sezione: %.0f ms; bsdtar -xf: %.0f ms (mediane di %d)\n",
                median(opening), median(bsdtar), runs);
    std::printf("rapporto: %.2f (obiettivo <= 1.30); di cui estrazione %.0f ms, poi analisi e lettore %.0f ms\n", ratio,
                median(extraction), median(opening) - median(extraction));
    double idle = 0;
    {
        StallMeter meter;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 1000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        idle = meter.worstMs();
    }
    std::printf("finestra ferma al massimo durante l'apertura: %.1f ms; a riposo %.1f ms (obiettivo <= 100)\n",
                worstStall, idle);
    return ratio <= 1.3 && worstStall <= 100 ? 0 : 1;
}
