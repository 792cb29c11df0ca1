#include "Folders.h"

#include "FileError.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

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

// The names of the files directly inside the folder, in the order the system lists them. On POSIX systems the
// directory is read directly, which spares building a file-information object for every entry.
QStringList unsortedFileNames(const QString& folder) {
    QStringList names;
#ifdef Q_OS_UNIX
    const QByteArray encoded = QFile::encodeName(folder);
    DIR* dir = opendir(encoded.constData());
    if (!dir)
        throw FileError(QStringLiteral("La cartella «%1» non si può leggere.").arg(shown(folder)));
    while (const dirent* entry = readdir(dir)) {
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) { // a link counts as what it leads to
            struct stat info {};
            isFile = stat((encoded + '/' + entry->d_name).constData(), &info) == 0 && S_ISREG(info.st_mode);
        }
        if (isFile)
            names.append(QFile::decodeName(entry->d_name));
    }
    closedir(dir);
#else
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System); it.hasNext();)
        names.append(it.nextFileInfo().fileName());
#endif
    return names;
}

// Sorts by keys folded once, not folded again at every comparison; names equal but for case keep a fixed order.
void sortIgnoringCase(QStringList& names) {
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    for (QString& name : names)
        keyed.emplace_back(name.toCaseFolded(), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed)
        names.append(std::move(name));
}

} // namespace

namespace Folders {

QStringList fileNames(const QString& folder) {
    if (!QFileInfo(folder).isDir())
        throw FileError(QStringLiteral("La cartella «%1» non esiste.").arg(shown(folder)));
    QStringList names = unsortedFileNames(folder);
    sortIgnoringCase(names);
    return names;
}

void deleteFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || info.isSymLink())
        throw FileError(QStringLiteral("La cartella «%1» non esiste.").arg(shown(folder)));
    if (!deleteTree(folder))
        throw FileError(QStringLiteral("La cartella «%1» non è stata eliminata del tutto.").arg(shown(folder)));
}

} // namespace Folders
