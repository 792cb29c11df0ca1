#pragma once

#include <QStringList>
#include <optional>

// Everything between the application object and its event loop: options, program folder, toolkit, main menu.
// Returns the exit code when the program must end at once (bad arguments, a demo folder that cannot be made).
std::optional<int> startUp(const QStringList& arguments);

// --verifica: makes the program folder as a start would, then prints it and the extraction library that would be
// loaded. Needs no window system. Returns the exit code.
int checkInstallation(const QStringList& arguments);

class Deliveries;

// The newspapers that come by themselves: the program's deliveries, checked a moment after the main menu is up and
// every so many minutes (below 0: as the settings file says), said where the user is or on the desktop.
Deliveries* startDeliveries(int minutes);

// Connects the subsystems that do not know each other: the reader and the wizard return to the main menu.
void wireSubsystems();
