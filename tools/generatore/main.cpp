// lettore-giornali-genera-giornale: writes sample newspaper issues as ZIP archives named as the service names them.
#include "SampleIssue.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Scrive giornali di prova come archivi ZIP."));
    const QCommandLineOption folder({"c", "cartella"}, QStringLiteral("Cartella in cui scrivere gli archivi."),
                                    QStringLiteral("percorso"), QStringLiteral("."));
    const QCommandLineOption large(QStringLiteral("grande"),
                                   QStringLiteral("Scrive solo un giornale grande: 200 sezioni, 20.000 articoli."));
    const QCommandLineOption today(QStringLiteral("oggi"),
                                   QStringLiteral("Scrive solo il numero di oggi de La Gazzetta del Borgo."));
    parser.addOptions({folder, large, today});
    parser.addHelpOption();
    parser.process(app);

    const QString target = parser.value(folder);
    if (!QDir().mkpath(target)) {
        std::fprintf(stderr, "Impossibile creare la cartella %s\n", qPrintable(target));
        return 1;
    }
    const QList<SampleIssue::Layout> issues =
        parser.isSet(large)   ? QList<SampleIssue::Layout>{SampleIssue::largeIssue()}
        : parser.isSet(today) ? QList<SampleIssue::Layout>{{QStringLiteral("La Gazzetta del Borgo"),
                                                            QDate::currentDate().toString(QStringLiteral("yyyyMMdd")),
                                                            {},
                                                            6,
                                                            4,
                                                            false}}
                              : SampleIssue::demoIssues();
    for (const SampleIssue::Layout& issue : issues) {
        const QString path = QDir(target).filePath(SampleIssue::baseName(issue) + QStringLiteral(".zip"));
        if (!SampleIssue::write(issue, path)) {
            std::fprintf(stderr, "Impossibile scrivere %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    }
    return 0;
}
