#pragma once

#include <QString>

// The choices of one run of the download wizard. Each screen holds its own copy and hands it, with its own choice
// added, to the next one; opening the masthead screen starts from an empty one.
struct WizardSession {
    QString Testata;       // the chosen masthead, as the service lists it
    QString Edizione;      // the chosen issue's date code, yyyymmdd, as the service lists it
    QString NomeScaricato; // base name of the archive being downloaded

    // The archive's base name: the masthead, the date code and the provincial edition (empty when the issue has
    // none), joined without separators.
    QString archiveName(const QString& provincialEdition = {}) const { return Testata + Edizione + provincialEdition; }
};

// An archive the wizard has stored, as the reader opens it.
struct DownloadedIssue {
    QString archivePath;
    QString title; // the reader's window title
};
