#pragma once

#include "SubscriptionCheck.h"
#include "platform/Outcome.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QLockFile;

// The newspaper arriving by itself, for as long as the program runs: the subscriptions and the issues that came
// and were not opened yet, a check every so many minutes and whenever asked, one at a time, and what it brought
// said once. The file is read and written in a worker; a check holds the program folder's lock, so that a run of
// "--aggiorna" and the program never download together.
class Deliveries : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        std::function<SubscriptionCheck::Profile()> profile; // empty user: no profile
        std::function<bool()> otherDownloadRunning;          // the wizard's: a check waits for the next turn
        std::function<void(const QString&)> say;             // where the user is
        std::function<QString()> openArchive;                // the file name of the issue open in the reader
    };

    static constexpr int kDefaultMinutes = 30;

    Deliveries(const QString& folder, Hooks hooks, QObject* parent = nullptr);
    // The program's own, made at start-up as a child of the application; none in a run without it.
    static Deliveries* ofProgram();
    ~Deliveries() override;

    // Reads the file; then checks once, a moment later, and every so many minutes (0: only when asked; below 0:
    // as the settings file says in [abbonamenti] controllo, 30 by default).
    void start(int minutes, const QString& settingsFile = {});
    // Starts a check, or says why it does not: nothing subscribed, no profile, a check or the wizard's download
    // under way (then it comes later).
    Outcome<> checkNow();
    void cancel();
    bool isChecking() const { return m_starting || m_check != nullptr; }

    const Subscriptions& subscriptions() const { return m_subscriptions; }
    // What the last check brought, in a few words: "nessun numero nuovo", "1 numero nuovo, 1 non scaricato".
    QString lastCheckSummary() const;
    // Why nothing was checked the last time (no profile, a profile refused, a damaged file), or nothing.
    QString standstill() const { return m_standstill.isEmpty() ? m_damaged : m_standstill; }

    void add(const Subscription& subscription);
    void remove(int index);
    // "Tieni gli ultimi <n> numeri" (0: all of them), applied after each arrival.
    void setKeep(int index, int keep);
    // The arrival is taken off the unopened ones.
    void opened(const QString& archive);

signals:
    void changed();
    void added(int index, bool isNew); // a subscription already there is not added twice
    void checkFinished();

private:
    void loaded(const Outcome<Subscriptions>& read);
    void checked(int index, const SubscriptionCheck::Result& result);
    void endCheck(const Outcome<>& outcome);
    void save();
    void sayOnce(const QString& key, const QString& text);
    void keepWithinBound(const Subscription& subscription);
    void release(std::shared_ptr<QLockFile> lock);

    QString m_folder;
    Hooks m_hooks;
    Subscriptions m_subscriptions;
    bool m_loaded = false;
    QString m_damaged; // why the file could not be read, until it is written again
    QString m_standstill;
    QTimer m_timer;
    QTimer m_retry;
    QPointer<SubscriptionCheck> m_check;
    bool m_starting = false;        // the lock is being taken
    QList<Subscription> m_checking; // the subscriptions as the check started
    std::shared_ptr<QLockFile> m_lockHeld;
    QHash<QString, QString> m_said; // subscription: the failure last said for it
    bool m_cancelled = false;
    QString m_skipped; // why the last check did not run
    int m_arrived = 0; // by the last check
    int m_failed = 0;
    quint64 m_changes = 0; // made here, each saved
    bool m_writing = false;
    bool m_dirty = false;
    bool m_unsaved = false; // the last write failed: the file is behind the subscriptions here
};
