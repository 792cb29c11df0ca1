#include "SubscriptionCheck.h"

#include "platform/Worker.h"
#include "reader/ReaderTitle.h"
#include "service/ArchiveFileName.h"
#include "service/ServiceAddress.h"
#include "service/ServiceRequest.h"

#include <QDir>
#include <QFileInfo>

SubscriptionCheck::SubscriptionCheck(const Profile& profile, const QList<Subscription>& subscriptions,
                                     const QString& store, QObject* parent)
    : QObject(parent), m_profile(profile), m_subscriptions(subscriptions), m_store(store) {}

void SubscriptionCheck::start() {
    m_running = true;
    m_index = -1;
    askMastheads();
}

// A service that lists no masthead does not know the profile (it answers a wrong password so).
void SubscriptionCheck::askMastheads() {
    ServiceRequest* mastheads =
        request(ServiceAddress::mastheads(m_profile.user, m_profile.password), ServiceRequest::Expect::Page);
    connect(mastheads, &ServiceRequest::finished, this,
            [this, mastheads](const Outcome<ServiceRequest::Answer>& answer) {
                mastheads->deleteLater();
                Outcome<> known = Success();
                if (!answer)
                    known = Failure{answer.reason()};
                else if (answer.value().entries.isEmpty())
                    known = Failure{QStringLiteral("il servizio non ha riconosciuto il profilo (non elenca nessuna "
                                                   "testata)")};
                if (!known || m_cancelled) {
                    m_running = false;
                    emit finished(m_cancelled ? Outcome<>(Failure{QStringLiteral("controllo annullato")}) : known);
                    return;
                }
                m_mastheads = answer.value().entries;
                next();
            });
    mastheads->start();
}

void SubscriptionCheck::cancel() {
    m_cancelled = true;
    if (m_request)
        m_request->cancel();
}

void SubscriptionCheck::next() {
    ++m_index;
    if (m_cancelled || m_index >= m_subscriptions.size()) {
        m_running = false;
        emit finished(Success());
        return;
    }
    if (!m_mastheads.contains(current().masthead))
        return done(Failure{QStringLiteral("la testata non è tra quelle del servizio")});
    askDates();
}

QString SubscriptionCheck::target(const QString& archiveName) const {
    return m_store + QDir::separator() + archiveFileName(archiveName);
}

ServiceRequest* SubscriptionCheck::request(const QUrl& address, ServiceRequest::Expect expect, const QString& target) {
    auto* request = new ServiceRequest(address, expect, this);
    if (!target.isEmpty())
        request->setArchiveTarget(target);
    connect(request, &ServiceRequest::progress, this, &SubscriptionCheck::progress);
    m_request = request;
    return request;
}

void SubscriptionCheck::askDates() {
    ServiceRequest* dates = request(ServiceAddress::dates(m_profile.user, m_profile.password, current().masthead),
                                    ServiceRequest::Expect::Page);
    connect(dates, &ServiceRequest::finished, this, [this, dates](const Outcome<ServiceRequest::Answer>& answer) {
        dates->deleteLater();
        if (!answer)
            return done(Failure{answer.reason()});
        datesArrived(answer.value().entries);
    });
    dates->start();
}

// The newest date is the service's last; its archive already in the store (the subscribed edition's, or the issue
// itself, delivered on a day it had no editions) means nothing new.
void SubscriptionCheck::datesArrived(const QStringList& dates) {
    if (dates.isEmpty())
        return done(Failure{QStringLiteral("il servizio non elenca nessun numero della testata")});
    const QString date = dates.last();
    const QStringList stored{target(current().masthead + date + current().edition), target(current().masthead + date)};
    runInWorker(
        this, [stored] { return Outcome<bool>(QFileInfo::exists(stored[0]) || QFileInfo::exists(stored[1])); },
        [this, date](const Outcome<bool>& exists) {
            if (exists && exists.value())
                return done(std::optional<Arrival>());
            askEditions(date);
        });
}

// The editions' address gives the issue itself when it has none: it is stored under the name without edition.
void SubscriptionCheck::askEditions(const QString& date) {
    const QString plainName = current().masthead + date;
    ServiceRequest* editions =
        request(ServiceAddress::editions(m_profile.user, m_profile.password, current().masthead, date),
                ServiceRequest::Expect::PageOrArchive, target(plainName));
    connect(editions, &ServiceRequest::archiveStarted, this,
            [this, plainName] { emit downloading(m_index, ReaderTitle::fromBaseName(plainName)); });
    connect(editions, &ServiceRequest::finished, this,
            [this, editions, date, plainName](const Outcome<ServiceRequest::Answer>& answer) {
                editions->deleteLater();
                if (!answer)
                    return done(Failure{answer.reason()});
                if (answer.value().archive) // an issue without editions, whatever edition was subscribed
                    return done(
                        std::optional<Arrival>(Arrival{archiveFileName(plainName), ReaderTitle::fromBaseName(plainName),
                                                       QDateTime::currentDateTime()}));
                editionsArrived(date, answer.value().entries);
            });
    editions->start();
}

void SubscriptionCheck::editionsArrived(const QString& date, const QStringList& editions) {
    if (current().edition.isEmpty())
        return done(Failure{QStringLiteral("il servizio elenca edizioni provinciali: sceglierne una")});
    if (!editions.contains(current().edition))
        return done(Failure{QStringLiteral("l'edizione %1 non è tra quelle del %2")
                                .arg(current().edition, ReaderTitle::longDateOfCode(date))});
    download(
        ServiceAddress::editionArchive(m_profile.user, m_profile.password, current().masthead, date, current().edition),
        current().masthead + date + current().edition);
}

void SubscriptionCheck::download(const QUrl& address, const QString& archiveName) {
    ServiceRequest* archive = request(address, ServiceRequest::Expect::Archive, target(archiveName));
    const QString title = ReaderTitle::fromBaseName(archiveName);
    emit downloading(m_index, title);
    connect(
        archive, &ServiceRequest::finished, this,
        [this, archive, archiveName, title](const Outcome<ServiceRequest::Answer>& answer) {
            archive->deleteLater();
            if (!answer)
                return done(Failure{answer.reason()});
            done(std::optional<Arrival>(Arrival{archiveFileName(archiveName), title, QDateTime::currentDateTime()}));
        });
    archive->start();
}

void SubscriptionCheck::done(const Result& result) {
    emit checked(m_index, result);
    next();
}
