// A word searched across 50 generated issues of realistic size (300 articles, about 2 MB of text each) by the
// store search's core, against "bsdtar -xOf <archive> | grep -c -i <word>" for each archive, in the same run,
// with the resident memory the search adds; then the library of 5,000 stored archives shown.
#include "BenchTools.h"
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
#include <archive.h>
#include <archive_entry.h>
#include <cstdio>

namespace {

QByteArray articleText(unsigned seed, int size) {
    static const char* const words[] = {"il",        "governo", "della",     "citt\xe0", "ieri",    "sindaco",
                                        "consiglio", "notizia", "perch\xe9", "squadra",  "partita", "mercato",
                                        "lavoro",    "scuola",  "strada",    "cultura",  "teatro",  "prezzi"};
    QByteArray text;
    unsigned state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % (sizeof words / sizeof *words)];
        text += (state >> 8) % 13 == 0 ? ".\r\n" : " ";
    }
    return text;
}

void add(archive* zip, const QByteArray& name, const QByteArray& body) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.constData());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, body.size());
    archive_write_header(zip, entry);
    archive_write_data(zip, body.constData(), body.size());
    archive_entry_free(entry);
}

// 10 sections of 30 articles of about 7 KB.
void writeIssue(const QString& path, unsigned seed) {
    archive* zip = archive_write_new();
    archive_write_set_format_zip(zip);
    archive_write_open_filename(zip, QFile::encodeName(path).constData());
    for (int s = 0; s < 10; ++s) {
        const QByteArray section = "Sezione" + QByteArray::number(s);
        QByteArray index;
        for (int a = 1; a <= 30; ++a) {
            const QByteArray code = QByteArray::number(a).rightJustified(3, '0');
            index += code + " Titolo " + code + "\r\n";
            add(zip, section + "-" + code + ".txt", articleText(seed * 1000 + s * 30 + a, 7000));
        }
        add(zip, QByteArray::number(s + 1).rightJustified(2, '0') + "-" + section + "-000.txt", index);
    }
    archive_write_close(zip);
    archive_write_free(zip);
}

long residentPeakKiB() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
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
        writeIssue(archives.last(), static_cast<unsigned>(i));
    }
    const QString word = QStringLiteral("mercato");
    const long before = residentPeakKiB();
    int found = 0;
    const double ours = elapsedMs([&] { // as the search screen runs it
        StoreSearch::Runner runner(archives, word);
        QEventLoop loop;
        QObject::connect(&runner, &StoreSearch::Runner::found, [&](int, const auto& hits) { found += hits.size(); });
        QObject::connect(&runner, &StoreSearch::Runner::finished, &loop, &QEventLoop::quit);
        runner.start();
        loop.exec();
    });
    const double growthMiB = (residentPeakKiB() - before) / 1024.0;
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
    double listMs = 0;
    const double shown = elapsedMs([&] {
        FrmGiornaliScaricati& screen = Screen<FrmGiornaliScaricati>::show();
        QApplication::processEvents();
        listMs = screen.findChild<QComboBox*>("CboGiornaliScaricati")->count();
    });

    const double ratio = ours / theirs;
    std::printf("ricerca in 50 giornali: %.0f ms (%d articoli trovati); bsdtar -xOf | grep -c -i: %.0f ms\n", ours,
                found, theirs);
    std::printf("rapporto: %.2f (obiettivo <= 1.00); memoria residente in più: %.1f MiB (obiettivo <= 50)\n", ratio,
                growthMiB);
    std::printf("biblioteca di %.0f giornali mostrata in %.0f ms (obiettivo <= 200)\n", listMs, shown);
    return ratio <= 1.0 && growthMiB <= 50 && shown <= 200 ? 0 : 1;
}
