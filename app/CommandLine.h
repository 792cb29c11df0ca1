#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <initializer_list>

// What the user asked for on the command line and in the environment.
struct CommandLine {
    bool help = false;
    bool demo = false;
    QString programFolder; // empty: the executable's folder (or its "demo" folder with --demo)
    QString service;       // the service's base address; empty: the build's default
    int waitSeconds = 0;   // how long the service may stay silent; 0: the default
    int checkMinutes = -1; // between checks of the subscriptions; 0: never; -1: as the settings file says
    bool update = false;   // one check of the subscriptions, without a window
    QString error;         // an Italian sentence when the arguments make no sense

    // The environment variable that names the program folder when no option does.
    static constexpr const char* kFolderVariable = "LETTORE_GIORNALI_CARTELLA";
    // The environment variable that names the service's address when no option does.
    static constexpr const char* kServiceVariable = "LETTORE_GIORNALI_SERVIZIO";

    static CommandLine parse(const QStringList& arguments,
                             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    // True when the arguments ask for the help text, or for the check; both need no window system.
    static bool asksForHelp(int argc, char** argv);
    static bool asksForCheck(int argc, char** argv);
    static bool asksForUpdate(int argc, char** argv);
    static bool asksFor(int argc, char** argv, std::initializer_list<const char*> names);

    static QString helpText();
};
