#include "DemoFolder.h"

#include "CredentialFile.h"
#include "platform/FileError.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace DemoFolder {

void prepare(const QString& folder) {
    if (!QDir().mkpath(folder + QStringLiteral("/Giornali")))
        throw FileError(
            QStringLiteral("Impossibile creare la cartella dimostrativa «%1».").arg(QDir::toNativeSeparators(folder)));
    ProgramFolder::set(folder);
    if (CredentialLine::split(CredentialFile::LeggiAccesso()).kind != CredentialLine::Kind::Profile)
        CredentialFile::EliminaAccesso(kUserName, kPassword);

    // Sample issues come from the generator built beside the program, once.
    const QDir store(folder + QStringLiteral("/Giornali"));
    if (store.entryList({QStringLiteral("*.zip")}, QDir::Files).isEmpty()) {
        const QString generator = QCoreApplication::applicationDirPath() + QStringLiteral("/genera-giornale");
        QProcess process;
        process.start(generator, {QStringLiteral("--cartella"), store.path()});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            throw FileError(QStringLiteral("Impossibile preparare i giornali di prova con «%1».")
                                .arg(QDir::toNativeSeparators(generator)));
    }
}

} // namespace DemoFolder
