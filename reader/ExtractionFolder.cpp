#include "ExtractionFolder.h"

#include "platform/FileError.h"
#include "platform/Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QStringList kCandidates{QStringLiteral("Temp"), QStringLiteral("Temp-lettore-giornali")};

QString markerOf(const QString& folder) {
    return folder + QLatin1Char('/') + QLatin1String(ExtractionFolder::kMarker);
}

Outcome<QString> make(const QString& folder) {
    QFile marker(markerOf(folder));
    if (!QDir().mkpath(folder) || !marker.open(QIODevice::WriteOnly)) {
        return Failure{QStringLiteral("Impossibile creare la cartella «%1»: %2.")
                           .arg(QDir::toNativeSeparators(folder), marker.errorString())};
    }
    marker.write("Cartella di lavoro del Lettore giornali: il suo contenuto viene eliminato a ogni apertura.\r\n");
    return QDir::toNativeSeparators(folder);
}

} // namespace

namespace ExtractionFolder {

Outcome<QString> prepare(const QString& programFolder) {
    for (const QString& name : kCandidates) {
        const QString folder = programFolder + QLatin1Char('/') + name;
        const QFileInfo info(folder);
        if (!info.exists() && !info.isSymLink())
            return make(folder);
        if (!info.isDir() || info.isSymLink() || !QFileInfo::exists(markerOf(folder)))
            continue; // not ours
        try {
            Folders::emptyFolder(folder, {QLatin1String(kMarker)});
        } catch (const FileError& error) {
            return Failure{error.message()};
        }
        return QDir::toNativeSeparators(folder);
    }
    return Failure{QStringLiteral("Le cartelle «%1» e «%2» non sono del programma e non vengono toccate.")
                       .arg(QDir::toNativeSeparators(programFolder + QLatin1Char('/') + kCandidates[0]),
                            QDir::toNativeSeparators(programFolder + QLatin1Char('/') + kCandidates[1]))};
}

void clear(const QString& folder) {
    try {
        Folders::emptyFolder(folder, {QLatin1String(kMarker)});
    } catch (const FileError&) {
    }
}

} // namespace ExtractionFolder
