#pragma once

#include <QString>

// The folder that holds the credential file, the archive store "Giornali" and the extraction folder "Temp":
// the executable's folder unless the user named another one at start-up.
namespace ProgramFolder {

// The folder in native form, without a trailing separator.
QString path();

// The folder followed by the native separator and the name: ProgramFolder::join("accesso.txt").
QString join(const QString& name);

// Points the program at another folder; an empty path restores the executable's folder.
void set(const QString& folder);

} // namespace ProgramFolder
