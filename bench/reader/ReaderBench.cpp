// The reader's two file-bound steps against the bare work they rest on, measured in the same run:
// - the structure scan of an issue folder of 20,000 files (200 sections) against a bare listing of that folder;
// - loading a 5 MB article against reading and decoding the same file with QFile alone, and the same load at
//   ten times the size, which must grow linearly.
#include "BenchTools.h"
#include "LargeIssueFolder.h"
#include "platform/Cp1252.h"
#include "reader/NewspaperStructure.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

QByteArray articleBytes(qsizetype size) {
    const QByteArray line = "Nella citt\xe0 il \x93"
                            "caff\xe8\x94 costa 1 \x80, pi\xf9 di ieri; l\x92"
                            "assessore "
                            "risponde \x96 e la discussione continua fino a sera.\r\n";
    QByteArray bytes;
    bytes.reserve(size + line.size());
    while (bytes.size() < size)
        bytes += line;
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    // Large blocks come from the heap and are reused from run to run, as smaller ones are: otherwise every load
    // of the 50 MB article pays the operating system's first touch of fresh pages and the 5 MB one does not,
    // and the growth measured would be the kernel's, not the loader's.
#ifdef __GLIBC__
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString issue = dir.filePath(QStringLiteral("Temp"));
    QDir().mkpath(issue);
    writeLargeIssue(issue);

    qsizetype sections = 0;
    const double scan = medianMs(15, [&] { sections = NewspaperStructure::RilevaStruttura(issue).value().size(); });
    qsizetype listed = 0;
    const double listing = medianMs(15, [&] {
        QStringList names;
        for (QDirIterator it(issue, QDir::Files); it.hasNext();)
            names << it.nextFileInfo().fileName();
        listed = names.size();
    });
    const double scanRatio = scan / listing;
    std::printf("scansione di %lld file (%lld sezioni): %.2f ms; elenco semplice: %.2f ms; rapporto %.2f "
                "(obiettivo <= 1.50)\n",
                static_cast<long long>(listed), static_cast<long long>(sections), scan, listing, scanRatio);

    const QString small = dir.filePath(QStringLiteral("articolo5.txt"));
    const QString large = dir.filePath(QStringLiteral("articolo50.txt"));
    writeFile(small, articleBytes(5 << 20));
    writeFile(large, articleBytes(50 << 20));
    qsizetype chars = 0;
    const double load = medianMs(9, [&] { chars = NewspaperStructure::CaricaArticolo(small).value().size(); });
    const double bare = medianMs(9, [&] {
        QFile file(small);
        file.open(QIODevice::ReadOnly);
        chars = Cp1252::decode(file.readAll()).size();
    });
    const double loadLarge = medianMs(5, [&] { chars = NewspaperStructure::CaricaArticolo(large).value().size(); });
    const double loadRatio = load / bare;
    const double growth = loadLarge / load;
    std::printf("articolo di 5 MB: %.2f ms; lettura e decodifica con QFile: %.2f ms; rapporto %.2f (obiettivo <= 2)\n",
                load, bare, loadRatio);
    std::printf("articolo di 50 MB: %.2f ms; crescita per 10 volte la dimensione: %.2f (obiettivo <= 12)\n", loadLarge,
                growth);
    return scanRatio <= 1.5 && loadRatio <= 2.0 && growth <= 12.0 ? 0 : 1;
}
