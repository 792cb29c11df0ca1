#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef LETTORE_GIORNALI_CARTELLA_PRIVATA
#define LETTORE_GIORNALI_CARTELLA_PRIVATA "../lib/lettore-giornali"
#endif

namespace {

bool presentIn(const QString& folder, const QString& name) {
    const QDir dir(folder);
    for (const QString& candidate :
         {name, QStringLiteral("lib%1.so").arg(name), name + QStringLiteral(".dll"), name + QStringLiteral(".exe")}) {
        if (QFileInfo::exists(dir.filePath(candidate)))
            return true;
    }
    return false;
}

} // namespace

namespace ProgramFiles {

QString privateFolder(const QString& executableFolder) {
    return QDir::cleanPath(executableFolder + QLatin1Char('/') + QStringLiteral(LETTORE_GIORNALI_CARTELLA_PRIVATA));
}

bool isInstalledCopy(const QString& executableFolder) {
#ifdef Q_OS_WIN
    return QFileInfo::exists(executableFolder + QLatin1Char('/') + kWindowsUninstaller);
#else
    return QFileInfo(privateFolder(executableFolder)).isDir();
#endif
}

QString find(const QString& name) {
    const QString beside = QCoreApplication::applicationDirPath();
    const QString installed = privateFolder(beside);
    const QString folder = !presentIn(beside, name) && presentIn(installed, name) ? installed : beside;
    return folder + QLatin1Char('/') + name;
}

} // namespace ProgramFiles
