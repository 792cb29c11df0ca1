#pragma once

#include <QString>

// A program folder ready for a first look: a demo profile, and the archive store "Giornali" with sample issues
// written by the genera-giornale tool beside the program.
namespace DemoFolder {

inline const QString kUserName = QStringLiteral("demo");
inline const QString kPassword = QStringLiteral("demo");

// Creates what is missing in the folder; a profile already saved there is kept. Throws FileError.
void prepare(const QString& folder);

} // namespace DemoFolder
