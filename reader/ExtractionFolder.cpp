#include "ExtractionFolder.h"

#include "platform/FailureReason.h"
#include "platform/FileError.h"
#include "platform/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QStringList kCandidates{QStringLiteral("Temp"), QStringLiteral("Temp-lettore-giornali")};
const QByteArray kMarkerText =
    "Cartella di lavoro del Lettore giornali: il suo contenuto viene eliminato a ogni apertura.\r\n";

QString markerOf(const QString& folder) {
    return folder + QLatin1Char('/') + QLatin1String(ExtractionFolder::kMarker);
}

Outcome<QString> make(const QString& folder) {
    const auto cannot = [&folder](const QString& why) {
        return Failure{
            QStringLiteral("Impossibile creare la cartella «%1»: %2.").arg(QDir::toNativeSeparators(folder), why)};
    };
    if (!QDir().mkpath(folder))
        return cannot(QStringLiteral("il percorso non è valido o non si può scrivere"));
    QSaveFile marker(markerOf(folder));
    if (!marker.open(QIODevice::WriteOnly))
        return cannot(failureReason(marker, lastSystemError()));
    setSystemError(0);
    const qint64 written = marker.write(kMarkerText);
    const int code = lastSystemError();
    if (written != kMarkerText.size())
        return cannot(written >= 0 && code == 0 ? shortWriteReason() : failureReason(marker, code));
    if (!marker.commit())
        return cannot(failureReason(marker, lastSystemError()));
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
        if (const Outcome<> cleared = clear(folder); !cleared)
            return Failure{cleared.reason()};
        return QDir::toNativeSeparators(folder);
    }
    return Failure{QStringLiteral("Le cartelle «%1» e «%2» non sono del programma e non vengono toccate.")
                       .arg(QDir::toNativeSeparators(programFolder + QLatin1Char('/') + kCandidates[0]),
                            QDir::toNativeSeparators(programFolder + QLatin1Char('/') + kCandidates[1]))};
}

Outcome<> clear(const QString& folder) {
    try {
        Folders::emptyFolder(folder, {QLatin1String(kMarker)});
    } catch (const FileError& error) {
        return Failure{error.message()};
    }
    return Success();
}

} // namespace ExtractionFolder
