#pragma once

#include <QString>

// A program folder ready for a first look: a demo profile, the archive store "Giornali" with sample issues, and
// the issues of the demo service in "Servizio", all written by the lettore-giornali-genera-giornale tool.
namespace DemoFolder {

inline const QString kUserName = QStringLiteral("demo");
inline const QString kPassword = QStringLiteral("demo");

// Creates what is missing in the folder; a profile already saved there is kept. Throws FileError.
void prepare(const QString& folder);

// Starts lettore-giornali-servizio-demo on a free loopback port with the folder's "Servizio" issues for the
// demo profile, for as long as the program runs; returns its base address. Throws FileError.
QString startService(const QString& folder);

} // namespace DemoFolder
