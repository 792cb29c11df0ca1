#include "ProgramFolder.h"

#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString& chosenFolder() {
    static QString folder;
    return folder;
}

const QString& defaultFolder() {
    static const QString folder = ProgramFolder::defaultFor(QCoreApplication::applicationDirPath());
    return folder;
}

} // namespace

namespace ProgramFolder {

QString path() {
    const QString& chosen = chosenFolder();
    QString folder = chosen.isEmpty() ? defaultFolder() : chosen;
    folder = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (folder.size() > 1 && folder.endsWith(QDir::separator()))
        folder.chop(1);
    return folder;
}

QString join(const QString& name) {
    return path() + QDir::separator() + name;
}

void set(const QString& folder) {
    chosenFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

QString prepareForWriting() {
    if (QDir().mkpath(join(QStringLiteral("Giornali"))) && QTemporaryFile(join(QStringLiteral(".prova-XXXXXX"))).open())
        return {};
    return QStringLiteral("Impossibile scrivere nella cartella del programma «%1»: il profilo, i giornali scaricati e "
                          "le impostazioni non potranno essere salvati. Si può indicare un'altra cartella con "
                          "--cartella.")
        .arg(path());
}

// An installed copy keeps its data apart even when run by an administrator, who could write beside it. Whether a
// folder can be written is tried: Windows decides by access lists that a folder's attributes do not show.
QString defaultFor(const QString& executableFolder) {
    if (!ProgramFiles::isInstalledCopy(executableFolder) && QFileInfo(executableFolder).isWritable() &&
        QTemporaryFile(executableFolder + QStringLiteral("/.prova-scrittura-XXXXXX")).open())
        return executableFolder;
    return userDataFolder();
}

QString userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace ProgramFolder
