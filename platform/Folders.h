#pragma once

#include <QString>
#include <QStringList>

// Folder operations; every failure throws FileError.
namespace Folders {

// Names (no folder part) of the files directly inside the folder, subfolders excluded, in ascending order of name
// compared without regard to letter case. A missing folder fails.
QStringList fileNames(const QString& folder);

// Deletes the folder and everything in it. Not forced: read-only files are left in place (and so the folders that
// hold them), and the call then fails after deleting all it could. A missing folder fails.
void deleteFolder(const QString& folder);

// Deletes everything in the folder but the names kept (directly inside it), not forced either; a failure names
// the first file or folder that is left.
void emptyFolder(const QString& folder, const QStringList& kept = {});

} // namespace Folders
