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
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Deletes what the folder holds, but the names kept, and the folder itself unless keepFolder; returns false when
// something could not be removed, and names the first such thing in firstLeft. A file without write permission
// for its owner is the read-only file of this platform; the permission, not the caller's rights, decides (an
// administrator too).
bool deleteTree(const QString& folder, bool keepFolder, const QStringList& kept, QString& firstLeft) {
    bool everything = true;
    auto left = [&](const QString& path) {
        if (firstLeft.isEmpty())
            firstLeft = path;
        everything = false;
    };
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (kept.contains(entry.fileName()))
            continue;
        if (entry.isDir() && !entry.isSymLink()) {
            if (!deleteTree(entry.filePath(), false, {}, firstLeft))
                everything = false;
        } else if (!entry.isSymLink() && !(entry.permissions() & QFile::WriteOwner)) {
            left(entry.filePath()); // read-only: not forced
        } else if (!QFile::remove(entry.filePath())) {
            left(entry.filePath());
        }
    }
    if (!keepFolder && !QDir().rmdir(folder))
        left(folder);
    return everything;
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

// True when another program holds the file open so that it cannot be deleted (Windows); elsewhere an open file
// can always be deleted.
bool heldOpenElsewhere(const QString& path) {
#ifdef Q_OS_WIN
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    HANDLE handle = CreateFileW(native.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
#else
    Q_UNUSED(path);
    return false;
#endif
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
    QString firstLeft;
    if (!deleteTree(folder, false, {}, firstLeft))
        throw FileError(QStringLiteral("La cartella «%1» non è stata eliminata del tutto.").arg(shown(folder)));
}

void emptyFolder(const QString& folder, const QStringList& kept) {
    QString firstLeft;
    if (!deleteTree(folder, true, kept, firstLeft)) {
        const QString why = heldOpenElsewhere(firstLeft) ? QStringLiteral("è aperto in un altro programma")
                                                         : QStringLiteral("non si può eliminare");
        throw FileError(QStringLiteral("Impossibile svuotare la cartella «%1»: «%2» %3.")
                            .arg(shown(folder), shown(firstLeft), why));
    }
}

} // namespace Folders
