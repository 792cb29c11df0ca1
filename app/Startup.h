#pragma once

#include <QStringList>
#include <optional>

// Everything between the application object and its event loop: options, program folder, toolkit, main menu.
// Returns the exit code when the program must end at once (bad arguments, a demo folder that cannot be made).
std::optional<int> startUp(const QStringList& arguments);

// --verifica: makes the program folder as a start would, then prints it and the extraction library that would be
// loaded. Needs no window system. Returns the exit code.
int checkInstallation(const QStringList& arguments);

// Connects the subsystems that do not know each other: the reader and the wizard return to the main menu.
void wireSubsystems();
