#include "DemoFolder.h"

#include "CredentialFile.h"
#include "platform/FileError.h"
#include "platform/ProgramFiles.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// Sample issues come from the generator built beside the program, once.
void fillWithSampleIssues(const QString& folder) {
    if (!QDir(folder).entryList({QStringLiteral("*.zip")}, QDir::Files).isEmpty())
        return;
    const QString generator = ProgramFiles::find(QStringLiteral("lettore-giornali-genera-giornale"));
    QProcess process;
    process.start(generator, {QStringLiteral("--cartella"), folder});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        throw FileError(QStringLiteral("Impossibile preparare i giornali di prova con «%1».")
                            .arg(QDir::toNativeSeparators(generator)));
}

} // namespace

namespace DemoFolder {

void prepare(const QString& folder) {
    if (!QDir().mkpath(folder + QStringLiteral("/Giornali")))
        throw FileError(
            QStringLiteral("Impossibile creare la cartella dimostrativa «%1».").arg(QDir::toNativeSeparators(folder)));
    ProgramFolder::set(folder);
    if (CredentialLine::split(CredentialFile::LeggiAccesso()).kind != CredentialLine::Kind::Profile)
        CredentialFile::EliminaAccesso(kUserName, kPassword);

    fillWithSampleIssues(folder + QStringLiteral("/Giornali"));
    fillWithSampleIssues(folder + QStringLiteral("/Servizio"));
}

QString startService(const QString& folder) {
    static QProcess service; // lives as long as the program
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &service, [] {
        service.kill();
        service.waitForFinished(3000);
    });
    const QString program = ProgramFiles::find(QStringLiteral("lettore-giornali-servizio-demo"));
    if (!QFileInfo::exists(program) && !QFileInfo::exists(program + QStringLiteral(".exe")))
        throw FileError(QStringLiteral("Questa copia del programma non comprende il servizio dimostrativo: "
                                       "indicarne uno con --servizio <indirizzo>."));
    service.start(program, {QStringLiteral("--porta"), QStringLiteral("0"), QStringLiteral("--cartella"),
                            folder + QStringLiteral("/Servizio")});
    while (service.waitForReadyRead(10000)) {
        if (!service.canReadLine())
            continue;
        const QList<QByteArray> words = service.readLine().trimmed().split(' ');
        if (words.value(0) == "porta" && words.value(1).toUInt() > 0)
            return QStringLiteral("http://127.0.0.1:") + QString::fromLatin1(words.value(1));
        break;
    }
    throw FileError(
        QStringLiteral("Impossibile avviare il servizio dimostrativo «%1».").arg(QDir::toNativeSeparators(program)));
}

} // namespace DemoFolder
