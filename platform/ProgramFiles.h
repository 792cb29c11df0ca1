#pragma once

#include <QString>

// The files the program loads or runs besides itself: the extraction library and the demo tools. A copy built or
// unpacked by hand keeps them beside the executable; an installed copy keeps the library in its private folder
// and the tools beside the executable.
namespace ProgramFiles {

// The installed copy's private folder for an executable in the given folder.
QString privateFolder(const QString& executableFolder);

// The uninstaller the Windows installer puts beside the executable.
inline const QString kWindowsUninstaller = QStringLiteral("disinstalla.exe");

// True when the executable sits in an installed copy: its private folder exists, or on Windows, where an installed
// copy keeps everything beside the executable, its uninstaller is there.
bool isInstalledCopy(const QString& executableFolder);

// The path to load or run a file by: beside the executable when it is there, else in the private folder.
// The name is given without a library suffix ("unzip32"); a library is recognised with any of the platform's.
QString find(const QString& name);

} // namespace ProgramFiles
