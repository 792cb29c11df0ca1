#pragma once

#include "platform/Outcome.h"

#include <QString>

// The folder an issue is extracted into: "Temp" in the program folder, the program's own. The program marks a
// folder it makes with a file of its own, and only a marked folder is ever emptied. A "Temp" that was there
// already (a user's own, in a program folder such as the home folder) is left alone, and issues go to
// "Temp-lettore-giornali" beside it instead.
namespace ExtractionFolder {

inline constexpr const char* kMarker = ".lettore-giornali";

// The folder, made or emptied, ready for a new issue; or why not, naming what could not be removed. Nothing of
// an older issue is ever left in a folder this gives.
Outcome<QString> prepare(const QString& programFolder);

// Removes whatever was extracted into a prepared folder, keeping the folder and its mark; or why not, naming the
// first file left.
Outcome<> clear(const QString& folder);

} // namespace ExtractionFolder
