#pragma once

#include "Outcome.h"
#include "Zoom.h"

#include <QString>

// How the user wants to see the program, kept in a small settings file in the program folder.
struct AppearanceSettings {
    int zoom = Zoom::kNormal;
    bool highContrast = false;

    // A missing, unreadable or damaged file, or a value out of place, gives the default for that value.
    static AppearanceSettings read(const QString& file);
    Outcome<> write(const QString& file) const;
};
