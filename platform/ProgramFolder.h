#pragma once

#include <QString>

// The folder that holds the credential file, the archive store "Giornali", the extraction folder "Temp" and the
// settings: the one the user named at start-up, else the executable's folder for a copy unpacked by hand, else
// (an installed copy, or an executable folder that cannot be written) the user's data folder.
namespace ProgramFolder {

// The folder in native form, without a trailing separator.
QString path();

// The folder followed by the native separator and the name: ProgramFolder::join("accesso.txt").
QString join(const QString& name);

// Points the program at another folder; an empty path restores the default one.
void set(const QString& folder);

// Creates the folder and its archive store "Giornali" when missing and tries a file in it: nothing when the
// program can keep its files there, else what the user is told.
QString prepareForWriting();

// The folder used when the user names none, for an executable in the given folder.
QString defaultFor(const QString& executableFolder);

// The user's data folder for this program: ~/.local/share/lettore-giornali on Linux, %APPDATA%\lettore-giornali
// on Windows.
QString userDataFolder();

} // namespace ProgramFolder
