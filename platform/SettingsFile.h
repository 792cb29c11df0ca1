#pragma once

#include "Outcome.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

// Writes the values into the settings file, keeping its other groups; a file damaged beyond reading is written
// afresh. A file that cannot be written fails with an Italian reason.
Outcome<> writeSettings(const QString& file, const QList<std::pair<QString, QVariant>>& values);
