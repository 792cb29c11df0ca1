#pragma once

#include <QString>

// The profile in use, the one thing the screens share: the main menu sets it from the profile file, the profile
// screen and the service requests read it. Both values are empty until a profile is read.
struct CurrentProfile {
    QString NomeUtente;     // user name of the profile
    QString PasswordUtente; // password of the profile

    static CurrentProfile& instance();
    static void reset(); // both values back to empty
};
