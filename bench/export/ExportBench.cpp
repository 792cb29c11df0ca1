// The export. EPUB of the large issue (200 sections, 20,000 articles) against `zip -r` of its extracted text files;
// the talking book with voice of a 40-article section with one voice process against one per core, and the
// window thread's longest stall while it is written beside it.
#include "BenchTools.h"
#include "GeneratedArchive.h"
#include "SampleIssue.h"
#include "export/ExportRun.h"
#include "export/VoiceProcesses.h"
#include "platform/Worker.h"
#include "reader/LargeIssueFolder.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>

namespace {

void run(const QString& program, const QStringList& arguments, const QString& folder = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
}

Outcome<ExportRun::Done> exportIssue(const ExportRun::Order& order) {
    return ExportRun::run(order, false, [](const QString&, int, int) {});
}

// One section of 40 articles of about 100 words each.
void writeSection(const QString& folder) {
    QByteArray index;
    for (int a = 1; a <= 40; ++a) {
        const QByteArray code = QByteArray::number(a).rightJustified(3, '0');
        index += code + " Il consiglio regionale discute la notizia " + code + "\r\n";
        writeFile(folder + "/Cronaca-" + QString::fromLatin1(code) + ".txt", articleText(a, 650));
    }
    writeFile(folder + "/01-Cronaca-000.txt", index);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QTemporaryDir dir;

    // EPUB of the large issue, against zip -r of the same files.
    const SampleIssue::Layout large = SampleIssue::largeIssue();
    const QString archive = dir.filePath("grande.zip");
    const QString extracted = dir.filePath("grande");
    QDir().mkpath(extracted);
    if (!SampleIssue::write(large, archive))
        qFatal("cannot write the issue");
    run(QStringLiteral("bsdtar"), {"-xf", archive, "-C", extracted});
    const ExportRun::Order epub{.issueFolder = extracted,
                                .title = "Il Grande Quotidiano di sabato 5 dicembre 2026",
                                .key = SampleIssue::baseName(large),
                                .target = dir.path(),
                                .format = ExportRun::Format::Epub};
    const double epubMs = medianMs(3, [&] {
        if (!exportIssue(epub))
            qFatal("the EPUB export failed");
    });
    const double zipMs = medianMs(3, [&] {
        QFile::remove(dir.filePath("testi.zip"));
        run(QStringLiteral("zip"), {"-q", "-r", dir.filePath("testi.zip"), "."}, extracted);
    });
    std::printf("EPUB of the large issue (20,000 articles): %.0f ms; zip -r of its text files: %.0f ms; ratio %.2f "
                "(target at most 1.5)\n",
                epubMs, zipMs, epubMs / zipMs);

    // The talking book with voice of a 40-article section: one voice process, then one per core.
    const QString section = dir.filePath("sezione");
    QDir().mkpath(section);
    writeSection(section);
    ExportRun::Order daisy{.issueFolder = section,
                           .title = "La Gazzetta di sabato 5 dicembre 2026",
                           .key = "Gazzetta20261205",
                           .target = dir.path(),
                           .format = ExportRun::Format::DaisyVoice,
                           .workers = 1};
    // Beside the window thread, as the program does it, with the stall measured; the two kinds alternate, three
    // runs each, and the medians count.
    const double idle = idleStallMs();
    double stall = 0;
    const auto beside = [&](int workers) {
        daisy.workers = workers;
        return elapsedMs([&] {
            StallMeter meter;
            bool finished = false;
            runInWorker(
                &application, [daisy] { return exportIssue(daisy); },
                [&](const Outcome<ExportRun::Done>& done) {
                    if (!done)
                        qFatal("the talking book failed: %s", qPrintable(done.reason()));
                    finished = true;
                });
            runUntil([&] { return finished; });
            stall = std::max(stall, meter.worstMs());
        });
    };
    // The machine's own: the voice program fed the same 40 articles by hand, in one process and split between
    // one process per core, with nothing of the export around it.
    const int cores = QThread::idealThreadCount();
    const auto byHand = [&](int processes) {
        QList<QByteArray> requests(processes);
        for (int a = 0; a < 40; ++a) {
            const QStringList sentences = QString::fromLatin1(articleText(a + 1, 650)).split("\r\n");
            requests[a % processes] += QByteArray::number(sentences.size()) + '\t' +
                                       QFile::encodeName(dir.filePath(QString("mano%1.mp3").arg(a))) + '\n' +
                                       sentences.join('\n').toUtf8() + '\n';
        }
        return elapsedMs([&] {
            std::vector<std::unique_ptr<QProcess>> voices;
            for (const QByteArray& request : requests) {
                voices.push_back(std::make_unique<QProcess>());
                voices.back()->start(VoiceProcesses::program(), {});
                voices.back()->write(request);
                voices.back()->waitForBytesWritten(-1); // no event loop here writes it later
                voices.back()->closeWriteChannel();
            }
            for (const auto& voice : voices)
                voice->waitForFinished(-1);
        });
    };
    std::vector<double> ones, alls, handOnes, handAlls;
    for (int run = 0; run < 3; ++run) {
        ones.push_back(beside(1));
        alls.push_back(beside(cores));
        handOnes.push_back(byHand(1));
        handAlls.push_back(byHand(cores));
    }
    const double oneMs = median(ones);
    const double allMs = median(alls);
    std::printf("DAISY with voice of 40 articles: one voice process %.0f ms, %d processes %.0f ms: speed-up %.2f "
                "(target at least 1.7); the voice program alone on the same articles, by hand: %.0f ms and %.0f ms, "
                "speed-up %.2f (what the machine gives)\n",
                oneMs, cores, allMs, oneMs / allMs, median(handOnes), median(handAlls),
                median(handOnes) / median(handAlls));
    std::printf("Window thread's longest stall while the book is written: %.1f ms (idle %.1f ms; target at most 100 "
                "ms)\n",
                stall, idle);
    return 0;
}
