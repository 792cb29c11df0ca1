#pragma once

#include <QString>

// The strings the screens share, each empty until set.
struct SharedState {
    QString NomeUtente;     // user name of the profile
    QString PasswordUtente; // password of the profile
    QString Testata;        // the chosen masthead, as the service lists it
    QString Edizione;       // the chosen issue's date code, yyyymmdd
    QString NomeScaricato;  // base name of the downloaded archive
    QString NomeGiornale;   // base name of an archive chosen on disk
    QString PercorsoTemp;   // full path of the extraction folder

    static SharedState& instance();
    static void reset(); // every value back to empty
};
