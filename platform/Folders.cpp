#include "Folders.h"

#include "FileError.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Returns false when something inside could not be removed. A file without write permission for its owner is the
// read-only file of this platform; the permission, not the caller's rights, decides (an administrator too).
bool deleteTree(const QString& folder) {
    bool everything = true;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink()) {
            everything = deleteTree(entry.filePath()) && everything;
        } else if (!entry.isSymLink() && !(entry.permissions() & QFile::WriteOwner)) {
            everything = false; // read-only: not forced
        } else {
            everything = QFile::remove(entry.filePath()) && everything;
        }
    }
    return QDir().rmdir(folder) && everything;
}

} // namespace

namespace Folders {

QStringList fileNames(const QString& folder) {
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        throw FileError(QStringLiteral("La cartella «%1» non esiste.").arg(shown(folder)));
    return dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
}

void deleteFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || info.isSymLink())
        throw FileError(QStringLiteral("La cartella «%1» non esiste.").arg(shown(folder)));
    if (!deleteTree(folder))
        throw FileError(QStringLiteral("La cartella «%1» non è stata eliminata del tutto.").arg(shown(folder)));
}

} // namespace Folders
