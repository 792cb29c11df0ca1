#include "DemoFolder.h"

#include "CredentialFile.h"
#include "platform/ProgramFiles.h"
#include "subscriptions/SubscriptionFile.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <memory>

namespace {

constexpr int kServiceStartMs = 10000;

// Sample issues come from the generator built beside the program, once; today's issue, once a day.
Outcome<> fillWithSampleIssues(const QString& folder, bool today = false) {
    const QString pattern =
        today ? QStringLiteral("*%1.zip").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")))
              : QStringLiteral("*.zip");
    if (!QDir(folder).entryList({pattern}, QDir::Files).isEmpty())
        return Success();
    const QString generator = ProgramFiles::find(QStringLiteral("lettore-giornali-genera-giornale"));
    QStringList arguments{QStringLiteral("--cartella"), folder};
    if (today)
        arguments << QStringLiteral("--oggi");
    QProcess process;
    process.start(generator, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return Failure{QStringLiteral("Impossibile preparare i giornali di prova con «%1».")
                           .arg(QDir::toNativeSeparators(generator))};
    return Success();
}

} // namespace

namespace DemoFolder {

Outcome<> prepare(const QString& folder) {
    if (!QDir().mkpath(folder + QStringLiteral("/Giornali")))
        return Failure{
            QStringLiteral("Impossibile creare la cartella dimostrativa «%1».").arg(QDir::toNativeSeparators(folder))};
    const Outcome<QString> lastLine = CredentialFile::LeggiAccesso();
    if (!lastLine)
        return Failure{lastLine.reason()};
    if (CredentialLine::split(lastLine.value()).kind != CredentialLine::Kind::Profile) {
        const Outcome<> written = CredentialFile::EliminaAccesso(kUserName, kPassword);
        if (!written)
            return written;
    }
    const Outcome<> store = fillWithSampleIssues(folder + QStringLiteral("/Giornali"));
    if (!store)
        return store;
    const Outcome<> service = fillWithSampleIssues(folder + QStringLiteral("/Servizio"));
    if (!service)
        return service;
    // The demo subscribes to La Gazzetta del Borgo, whose issue of today is on the service and not yet stored: it
    // arrives by itself once the main menu is up.
    const QString subscriptions = folder + QStringLiteral("/abbonamenti.json");
    if (!QFileInfo::exists(subscriptions)) {
        Subscriptions demo;
        Subscription gazzetta;
        gazzetta.masthead = QStringLiteral("La Gazzetta del Borgo");
        demo.list.append(gazzetta);
        if (const Outcome<> written = SubscriptionFile::write(subscriptions, demo); !written)
            return written;
    }
    return fillWithSampleIssues(folder + QStringLiteral("/Servizio"), true);
}

void startService(const QString& folder, std::function<void(const Outcome<QString>&)> then) {
    const QString program = ProgramFiles::find(QStringLiteral("lettore-giornali-servizio-demo"));
    if (!QFileInfo::exists(program) && !QFileInfo::exists(program + QStringLiteral(".exe"))) {
        then(Failure{QStringLiteral("Questa copia del programma non comprende il servizio dimostrativo: "
                                    "indicarne uno con --servizio <indirizzo>.")});
        return;
    }
    // The service belongs to the application and is stopped when it quits.
    auto* service = new QProcess(QCoreApplication::instance());
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, service, [service] { service->kill(); });
    auto answered = std::make_shared<bool>(false);
    auto answer = [answered, then](const Outcome<QString>& address) {
        if (std::exchange(*answered, true))
            return;
        then(address);
    };
    const Failure notStarted{
        QStringLiteral("Impossibile avviare il servizio dimostrativo «%1».").arg(QDir::toNativeSeparators(program))};
    QObject::connect(service, &QProcess::readyReadStandardOutput, service, [service, answer, notStarted] {
        if (!service->canReadLine())
            return;
        const QList<QByteArray> words = service->readLine().trimmed().split(' ');
        if (words.value(0) == "porta" && words.value(1).toUInt() > 0)
            answer(QStringLiteral("http://127.0.0.1:") + QString::fromLatin1(words.value(1)));
        else
            answer(notStarted);
    });
    QObject::connect(service, &QProcess::errorOccurred, service, [answer, notStarted] { answer(notStarted); });
    QObject::connect(service, &QProcess::finished, service, [answer, notStarted] { answer(notStarted); });
    QTimer::singleShot(kServiceStartMs, service, [answer, notStarted] { answer(notStarted); });
    service->start(program, {QStringLiteral("--porta"), QStringLiteral("0"), QStringLiteral("--cartella"),
                             folder + QStringLiteral("/Servizio")});
}

} // namespace DemoFolder
