#include "Deliveries.h"

#include "StoreBound.h"
#include "SubscriptionFile.h"
#include "platform/Worker.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QSettings>
#include <chrono>

namespace {

constexpr int kFirstCheckDelayMs = 2000; // after the main menu has appeared
constexpr int kRetryMs = 60000;          // a check that could not start (the wizard downloading, no profile yet)
constexpr int kWriteRetryMs = 2000;      // a file that could not be written

using Lock = std::shared_ptr<QLockFile>;

} // namespace

Deliveries::Deliveries(const QString& folder, Hooks hooks, QObject* parent)
    : QObject(parent), m_folder(folder), m_hooks(std::move(hooks)) {
    connect(&m_timer, &QTimer::timeout, this, [this] { checkNow(); });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] { checkNow(); });
}

Deliveries* Deliveries::ofProgram() {
    QCoreApplication* application = QCoreApplication::instance();
    return application ? application->findChild<Deliveries*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

Deliveries::~Deliveries() {
    if (m_check)
        m_check->cancel();
}

void Deliveries::start(int minutes, const QString& settingsFile) {
    struct Read {
        Outcome<Subscriptions> subscriptions;
        int minutes;
    };
    runInWorker(
        this,
        [path = m_folder + QStringLiteral("/abbonamenti.json"), settingsFile, minutes] {
            int every = minutes;
            if (every < 0) {
                const QSettings settings(settingsFile, QSettings::IniFormat);
                bool number = false;
                every = settings.value(QStringLiteral("abbonamenti/controllo"), kDefaultMinutes).toInt(&number);
                if (!number || every < 0)
                    every = kDefaultMinutes;
            }
            return Outcome<Read>(Read{SubscriptionFile::read(path), every});
        },
        [this](const Outcome<Read>& read) {
            loaded(read ? read.value().subscriptions : Outcome<Subscriptions>(Failure{read.reason()}));
            QTimer::singleShot(kFirstCheckDelayMs, this, [this] { checkNow(); });
            const int every = read ? read.value().minutes : kDefaultMinutes;
            if (every > 0)
                m_timer.start(std::chrono::minutes(every));
        });
}

void Deliveries::loaded(const Outcome<Subscriptions>& read) {
    m_loaded = true;
    if (read) {
        m_subscriptions = read.value();
    } else {
        m_damaged = QStringLiteral("L'elenco dei giornali in abbonamento non si può leggere: %1. Sarà riscritto "
                                   "alla prossima modifica.")
                        .arg(read.reason());
        sayOnce(QStringLiteral("file"), m_damaged);
    }
    emit changed();
}

// One check at a time, none while the wizard downloads, none without a profile; the lock is taken in a worker.
Outcome<> Deliveries::checkNow() {
    if (isChecking())
        return Failure{QStringLiteral("un controllo è già in corso")};
    if (!m_loaded || m_subscriptions.list.isEmpty())
        return Failure{QStringLiteral("nessun giornale in abbonamento")};
    if (m_hooks.otherDownloadRunning && m_hooks.otherDownloadRunning()) {
        m_retry.start(kRetryMs);
        return Failure{QStringLiteral("prima finisce lo scaricamento in corso, poi si controlla")};
    }
    if (m_hooks.profile().user.isEmpty()) {
        m_standstill = QStringLiteral("Nessun profilo: i giornali non si possono controllare. Il profilo si "
                                      "configura dal menu principale.");
        emit changed();
        m_retry.start(kRetryMs); // once a profile is saved
        return Failure{QStringLiteral("nessun profilo")};
    }
    m_arrived = m_failed = 0;
    m_skipped.clear();
    m_starting = true;
    struct Locked {
        Lock lock;
        Outcome<Subscriptions> file; // as a run of "--aggiorna" may have left it
    };
    runInWorker(
        this,
        [folder = m_folder]() -> Outcome<Locked> {
            auto lock = std::make_shared<QLockFile>(folder + QStringLiteral("/abbonamenti.lock"));
            if (!lock->tryLock(0))
                return Failure{QStringLiteral("un altro controllo era in corso")};
            return Locked{lock, SubscriptionFile::read(folder + QStringLiteral("/abbonamenti.json"))};
        },
        [this, changes = m_changes](const Outcome<Locked>& locked) {
            m_starting = false;
            if (!locked || std::exchange(m_cancelled, false)) { // the other run downloads what is new
                m_skipped = locked ? QStringLiteral("controllo fermato") : locked.reason();
                if (locked)
                    release(locked.value().lock);
                emit checkFinished();
                emit changed();
                return;
            }
            m_lockHeld = locked.value().lock;
            // The file as read is taken only when nothing changed here since it was read.
            // A file this program could not write is behind it: never taken.
            if (locked.value().file && changes == m_changes && !m_writing && !m_dirty && !m_unsaved &&
                m_damaged.isEmpty())
                m_subscriptions = locked.value().file.value();
            m_checking = m_subscriptions.list;
            m_check =
                new SubscriptionCheck(m_hooks.profile(), m_checking, m_folder + QStringLiteral("/Giornali"), this);
            connect(m_check, &SubscriptionCheck::checked, this, &Deliveries::checked);
            connect(m_check, &SubscriptionCheck::finished, this, &Deliveries::endCheck);
            m_check->start();
            emit changed();
        });
    return Success();
}

QString Deliveries::lastCheckSummary() const {
    if (!m_skipped.isEmpty())
        return m_skipped;
    QStringList parts;
    if (m_arrived == 0)
        parts << QStringLiteral("nessun numero nuovo");
    else
        parts << (m_arrived == 1 ? QStringLiteral("1 numero nuovo") : QStringLiteral("%1 numeri nuovi").arg(m_arrived));
    if (m_failed > 0)
        parts << (m_failed == 1 ? QStringLiteral("1 non scaricato") : QStringLiteral("%1 non scaricati").arg(m_failed));
    return parts.join(QStringLiteral(", "));
}

void Deliveries::cancel() {
    if (m_starting)
        m_cancelled = true; // it ends as soon as the lock is taken
    if (m_check) {
        m_cancelled = true;
        m_check->cancel();
    }
}

// Unlocked, and the lock file removed, away from the window.
void Deliveries::release(Lock lock) {
    runInWorker(
        this,
        [lock = std::move(lock)]() mutable {
            lock.reset();
            return Outcome<>(Success());
        },
        [](const Outcome<>&) {});
}

void Deliveries::checked(int index, const SubscriptionCheck::Result& result) {
    const Subscription& asked = m_checking.at(index);
    const QString key = asked.shownName();
    for (Subscription& subscription : m_subscriptions.list) {
        if (!subscription.sameAs(asked))
            continue;
        subscription.lastCheck = QDateTime::currentDateTime();
        if (result && result.value())
            subscription.lastIssue = result.value()->title;
    }
    if (!result) {
        if (!m_cancelled) { // what a check stopped by the user did not do is no failure
            ++m_failed;
            sayOnce(key, QStringLiteral("%1 non è stato scaricato: %2.").arg(asked.masthead, result.reason()));
        }
    } else {
        m_said.remove(key);
        if (const std::optional<Arrival>& arrival = result.value()) {
            ++m_arrived;
            m_subscriptions.unopened.append(*arrival);
            m_hooks.say(QStringLiteral("È arrivato %1.").arg(arrival->title));
            keepWithinBound(asked);
        }
    }
    save();
    emit changed();
}

void Deliveries::endCheck(const Outcome<>& outcome) {
    const bool cancelled = std::exchange(m_cancelled, false);
    if (outcome) {
        m_standstill.clear();
        m_said.remove(QString());
    } else if (!cancelled) {
        m_standstill =
            QStringLiteral("I giornali in abbonamento non sono stati controllati: %1.").arg(outcome.reason());
        sayOnce(QString(), m_standstill);
    }
    m_check->deleteLater();
    m_check = nullptr;
    release(std::exchange(m_lockHeld, nullptr));
    emit checkFinished();
    emit changed();
}

// What a check says comes once for each subscription and cause: the same failure again is not repeated, and a
// success makes the next failure worth saying.
void Deliveries::sayOnce(const QString& key, const QString& text) {
    if (m_said.value(key) == text)
        return;
    m_said.insert(key, text);
    m_hooks.say(text);
}

void Deliveries::add(const Subscription& subscription) {
    for (int i = 0; i < m_subscriptions.list.size(); ++i) {
        if (m_subscriptions.list.at(i).sameAs(subscription)) {
            emit added(i, false);
            return;
        }
    }
    m_subscriptions.list.append(subscription);
    save();
    emit changed();
    emit added(static_cast<int>(m_subscriptions.list.size()) - 1, true);
}

void Deliveries::setKeep(int index, int keep) {
    if (index < 0 || index >= m_subscriptions.list.size())
        return;
    m_subscriptions.list[index].keep = std::max(0, keep);
    save();
    emit changed();
}

// The older issues go in a worker; those gone are also taken off the unopened ones.
void Deliveries::keepWithinBound(const Subscription& asked) {
    int keep = 0;
    for (const Subscription& subscription : std::as_const(m_subscriptions.list)) {
        if (subscription.sameAs(asked))
            keep = subscription.keep;
    }
    if (keep <= 0)
        return;
    runInWorker(
        this,
        [store = m_folder + QStringLiteral("/Giornali"), asked, keep,
         open = m_hooks.openArchive ? m_hooks.openArchive() : QString()] {
            return StoreBound::keepNewest(store, asked, keep, open);
        },
        [this, key = asked.shownName()](const Outcome<QStringList>& deleted) {
            if (!deleted) {
                sayOnce(
                    key + QStringLiteral("|numeri vecchi"),
                    QStringLiteral("I numeri vecchi di %1 non sono stati eliminati: %2.").arg(key, deleted.reason()));
                return;
            }
            const qsizetype gone = m_subscriptions.unopened.removeIf(
                [&](const Arrival& arrival) { return deleted.value().contains(arrival.archive); });
            if (gone > 0) {
                save();
                emit changed();
            }
        });
}

void Deliveries::remove(int index) {
    if (index < 0 || index >= m_subscriptions.list.size())
        return;
    m_subscriptions.list.removeAt(index);
    save();
    emit changed();
}

void Deliveries::opened(const QString& archive) {
    const qsizetype removed = m_subscriptions.unopened.removeIf([&](const Arrival& a) { return a.archive == archive; });
    if (removed > 0) {
        save();
        emit changed();
    }
}

// Written in a worker, one write at a time; changes made meanwhile are written after it.
void Deliveries::save() {
    ++m_changes;
    if (m_writing) {
        m_dirty = true;
        return;
    }
    m_writing = true;
    m_dirty = false;
    runInWorker(
        this,
        [path = m_folder + QStringLiteral("/abbonamenti.json"), subscriptions = m_subscriptions] {
            return SubscriptionFile::write(path, subscriptions);
        },
        [this](const Outcome<>& written) {
            m_writing = false;
            m_unsaved = !written;
            if (!written) {
                sayOnce(QStringLiteral("file"),
                        QStringLiteral("I giornali in abbonamento non sono stati salvati: %1.").arg(written.reason()));
                // Tried again a moment later: on Windows a file another program is reading cannot be replaced.
                if (!m_dirty)
                    QTimer::singleShot(kWriteRetryMs, this, [this] {
                        if (!m_writing)
                            save();
                    });
            } else {
                m_damaged.clear();
                m_said.remove(QStringLiteral("file"));
            }
            if (m_dirty)
                save();
        });
}
