#pragma once

#include "platform/Outcome.h"

#include <QString>

// One line of the credential file, split at its first "--": user name before it, password after it.
struct CredentialLine {
    enum class Kind {
        NoProfile, // the empty line
        Malformed, // a non-empty line without "--"
        Profile,   // user name and password, either of which may be empty
    };

    Kind kind = Kind::NoProfile;
    QString userName;
    QString password;

    static CredentialLine split(const QString& line);
};

// The profile file "accesso.txt" in the program folder: one line of user name, "--", password; the last line
// counts. The password is kept in clear, as the service needs it, in a file readable by its owner only.
// Every operation says why when the file cannot be read or written.
namespace CredentialFile {

QString path();

// The last line of the file, or an empty string when it has none. A missing file is created empty.
Outcome<QString> LeggiAccesso();

// Adds the line user name, "--", password at the end of the file, creating it when missing.
Outcome<> AccodaAccesso(const QString& userName, const QString& password);

// Replaces the file with the single line user name, "--", password. The old file stays whole until the new
// one is complete.
Outcome<> EliminaAccesso(const QString& userName, const QString& password);

} // namespace CredentialFile
