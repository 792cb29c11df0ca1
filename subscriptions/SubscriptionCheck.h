#pragma once

#include "Subscription.h"
#include "platform/Outcome.h"
#include "service/ServiceRequest.h"

#include <QObject>
#include <QPointer>
#include <optional>

// One check of the subscriptions, by the service's own steps: the mastheads, which tell whether the service knows
// the profile; then for each subscription in turn the masthead's dates; for the
// newest one, unless its archive is already in the store, the editions (or the issue itself, when it has none);
// then the subscribed edition's archive. Archives are named and stored exactly as the download wizard does:
// whole or not at all, and never in place of a stored one that a failure would spoil. Nothing here waits.
class SubscriptionCheck : public QObject {
    Q_OBJECT

public:
    struct Profile {
        QString user;
        QString password;
    };

    // What one subscription's check brought: an issue that arrived, or nothing new.
    using Result = Outcome<std::optional<Arrival>>;

    SubscriptionCheck(const Profile& profile, const QList<Subscription>& subscriptions, const QString& store,
                      QObject* parent = nullptr);

    void start();
    // Stops the request under way; the subscriptions not yet checked are not checked.
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void downloading(int index, const QString& title);
    void progress(qint64 done, qint64 total);
    void checked(int index, const SubscriptionCheck::Result& result);
    // Every subscription checked, or none: the service refused the profile or could not be asked (its reason).
    void finished(const Outcome<>& outcome);

private:
    void askMastheads();
    void next();
    void askDates();
    void datesArrived(const QStringList& dates);
    void askEditions(const QString& date);
    void editionsArrived(const QString& date, const QStringList& editions);
    void download(const QUrl& address, const QString& archiveName);
    void done(const Result& result);
    ServiceRequest* request(const QUrl& address, ServiceRequest::Expect expect, const QString& target = {});
    const Subscription& current() const { return m_subscriptions.at(m_index); }
    QString target(const QString& archiveName) const;

    Profile m_profile;
    QList<Subscription> m_subscriptions;
    QString m_store;
    int m_index = -1;
    bool m_running = false;
    bool m_cancelled = false;
    QStringList m_mastheads;
    QPointer<ServiceRequest> m_request;
};
