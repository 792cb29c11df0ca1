#include "Update.h"

#include "CommandLine.h"
#include "CredentialFile.h"
#include "platform/ProgramFolder.h"
#include "service/ServiceAddress.h"
#include "service/ServiceRequest.h"
#include "subscriptions/SubscriptionCheck.h"
#include "subscriptions/SubscriptionFile.h"

#include <QCoreApplication>
#include <QLockFile>
#include <cstdio>
#include <memory>

namespace {

void print(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// What the check found is written over the file as it is now: a running program may have changed it meanwhile.
void record(const QList<Subscription>& checked, const QList<Arrival>& arrivals) {
    const QString path = SubscriptionFile::path();
    Outcome<Subscriptions> current = SubscriptionFile::read(path);
    Subscriptions updated = current ? current.value() : Subscriptions{};
    for (Subscription& subscription : updated.list) {
        for (const Subscription& done : checked) {
            if (subscription.sameAs(done)) {
                subscription.lastCheck = done.lastCheck;
                subscription.lastIssue = done.lastIssue;
            }
        }
    }
    updated.unopened += arrivals;
    if (const Outcome<> written = SubscriptionFile::write(path, updated); !written)
        print(QStringLiteral("I giornali in abbonamento non sono stati salvati: %1.").arg(written.reason()));
}

// Every end goes through the event loop, as a check's does: under Wine a process that returns before running its
// loop can stay behind at exit.
void endWith(int code) {
    QMetaObject::invokeMethod(
        qApp, [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
}

} // namespace

void startUpdate(const QStringList& arguments) {
    const CommandLine options = CommandLine::parse(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "lettore-giornali: %s Vedere lettore-giornali --help.\n", qPrintable(options.error));
        return endWith(2);
    }
    ProgramFolder::set(options.programFolder);
    if (!options.service.isEmpty())
        ServiceAddress::setBase(options.service);
    if (options.waitSeconds > 0)
        ServiceRequest::setTimeLimitMs(options.waitSeconds * 1000);

    const Outcome<QString> line = CredentialFile::LeggiAccesso();
    const CredentialLine profile = line ? CredentialLine::split(line.value()) : CredentialLine{};
    if (profile.kind != CredentialLine::Kind::Profile) {
        print(line ? QStringLiteral("Nessun profilo: i giornali non si possono controllare.")
                   : QStringLiteral("Il profilo non si può leggere: %1.").arg(line.reason()));
        return endWith(1);
    }
    const Outcome<Subscriptions> read = SubscriptionFile::read(SubscriptionFile::path());
    if (!read) {
        print(QStringLiteral("L'elenco dei giornali in abbonamento non si può leggere: %1.").arg(read.reason()));
        return endWith(1);
    }
    if (read.value().list.isEmpty()) {
        print(QStringLiteral("Nessun giornale in abbonamento."));
        return endWith(0);
    }
    auto lock = std::make_shared<QLockFile>(ProgramFolder::join(QStringLiteral("abbonamenti.lock")));
    if (!lock->tryLock(0)) {
        print(QStringLiteral("Un altro controllo è in corso: nulla da fare."));
        return endWith(0);
    }

    auto* check = new SubscriptionCheck({profile.userName, profile.password}, read.value().list,
                                        ProgramFolder::join(QStringLiteral("Giornali")), qApp);
    auto checked = std::make_shared<QList<Subscription>>(read.value().list);
    auto arrivals = std::make_shared<QList<Arrival>>();
    auto failed = std::make_shared<bool>(false);
    QObject::connect(check, &SubscriptionCheck::checked, check,
                     [checked, arrivals, failed](int index, const SubscriptionCheck::Result& result) {
                         Subscription& subscription = (*checked)[index];
                         subscription.lastCheck = QDateTime::currentDateTime();
                         const QString name = subscription.shownName();
                         if (!result) {
                             *failed = true;
                             print(QStringLiteral("%1: non scaricato, %2.").arg(name, result.reason()));
                         } else if (const std::optional<Arrival>& arrival = result.value()) {
                             subscription.lastIssue = arrival->title;
                             arrivals->append(*arrival);
                             print(QStringLiteral("%1: è arrivato %2.").arg(name, arrival->title));
                         } else {
                             print(QStringLiteral("%1: nessun numero nuovo.").arg(name));
                         }
                     });
    QObject::connect(
        check, &SubscriptionCheck::finished, check, [checked, arrivals, failed, lock](const Outcome<>& outcome) {
            if (!outcome) {
                *failed = true;
                print(
                    QStringLiteral("I giornali in abbonamento non sono stati controllati: %1.").arg(outcome.reason()));
            }
            record(*checked, *arrivals);
            lock->unlock();
            QCoreApplication::exit(*failed ? 1 : 0);
        });
    check->start();
}
