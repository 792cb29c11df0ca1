#pragma once

#include <QString>

// A notification of the desktop, for when no window of ours is active: through org.freedesktop.Notifications on
// the session bus, without waiting for an answer. Where there is no such service (or no bus, or on Windows)
// nothing happens.
void notifyDesktop(const QString& summary, const QString& body);
