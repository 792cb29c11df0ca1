#include "DemoFolder.h"

#include "CredentialFile.h"
#include "platform/FileError.h"
#include "platform/ProgramFolder.h"

#include <QDir>

namespace DemoFolder {

void prepare(const QString& folder) {
    if (!QDir().mkpath(folder + QStringLiteral("/Giornali")))
        throw FileError(
            QStringLiteral("Impossibile creare la cartella dimostrativa «%1».").arg(QDir::toNativeSeparators(folder)));
    ProgramFolder::set(folder);
    if (CredentialLine::split(CredentialFile::LeggiAccesso()).kind != CredentialLine::Kind::Profile)
        CredentialFile::EliminaAccesso(kUserName, kPassword);
}

} // namespace DemoFolder
