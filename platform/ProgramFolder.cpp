#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& chosenFolder() {
    static QString folder;
    return folder;
}

} // namespace

namespace ProgramFolder {

QString path() {
    const QString& chosen = chosenFolder();
    QString folder = chosen.isEmpty() ? QCoreApplication::applicationDirPath() : chosen;
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

} // namespace ProgramFolder
