#pragma once

#include "platform/Outcome.h"

#include <QString>
#include <functional>

class QObject;

// A program folder ready for a first look: a demo profile, the archive store "Giornali" with sample issues, and
// the issues of the demo service in "Servizio", all written by the lettore-giornali-genera-giornale tool.
namespace DemoFolder {

inline const QString kUserName = QStringLiteral("demo");
inline const QString kPassword = QStringLiteral("demo");

// Creates what is missing in the folder, which is already the program folder; a profile already saved there is
// kept. Long work (the generator runs): for a worker thread.
Outcome<> prepare(const QString& folder);

// Starts lettore-giornali-servizio-demo on a free loopback port with the folder's "Servizio" issues for the demo
// profile, for as long as the program runs, without waiting: its base address, or why it did not start, comes to
// then on the window thread.
void startService(const QString& folder, std::function<void(const Outcome<QString>&)> then);

} // namespace DemoFolder
