#include "ReadingStore.h"

#include "platform/FailureReason.h"
#include "platform/ProgramFolder.h"
#include "platform/Toolkit.h"
#include "platform/Worker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSaveFile>
#include <mutex>

namespace {

QString articleKey(const QString& section, const QString& article) {
    return section + QLatin1Char('/') + article;
}

QPointer<ReadingStore>& currentStore() {
    static QPointer<ReadingStore> store;
    return store;
}

} // namespace

// Writes run one at a time, and one made from older changes never lands after a newer one.
struct ReadingStore::WriteOrder {
    std::mutex lock;
    quint64 written = 0;
};

ReadingStore::ReadingStore(const QString& path, int writeDelayMs)
    : m_path(path), m_order(std::make_shared<WriteOrder>()) {
    m_write.setSingleShot(true);
    m_write.setInterval(writeDelayMs);
    connect(&m_write, &QTimer::timeout, this, &ReadingStore::flush);
    runInWorker(
        this, [path] { return read(path); },
        [this](const Outcome<Issues>& stored) { take(stored ? stored.value() : Issues()); });
}

// The last changes are written before the store goes, waiting for the file if it has not been read yet.
ReadingStore::~ReadingStore() {
    m_write.stop();
    if (!m_loaded) {
        const Outcome<Issues> stored = read(m_path);
        merge(stored ? stored.value() : Issues());
    }
    if (m_changed)
        write(m_path, m_issues, ++m_sequence, m_order);
}

ReadingStore& ReadingStore::current() {
    QPointer<ReadingStore>& store = currentStore();
    const QString path = ProgramFolder::join(QStringLiteral("letture.json"));
    if (store && store->m_path != path)
        release();
    if (!store) {
        store = new ReadingStore(path);
        if (QCoreApplication* application = QCoreApplication::instance()) {
            store->setParent(application);
            connect(application, &QCoreApplication::aboutToQuit, store, &ReadingStore::release);
        }
    }
    return *store;
}

void ReadingStore::release() {
    delete currentStore().data();
}

Outcome<ReadingStore::Issues> ReadingStore::read(const QString& path) {
    Issues issues;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return issues;
    const QJsonArray stored =
        QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String("giornali")).toArray();
    QSet<QString> names;
    for (const QJsonValue& value : stored) {
        const QJsonObject object = value.toObject();
        Issue issue{object.value(QLatin1String("nome")).toString(),
                    {object.value(QLatin1String("sezione")).toString(),
                     object.value(QLatin1String("articolo")).toString(),
                     std::max(0, object.value(QLatin1String("posizione")).toInt()),
                     object.value(QLatin1String("indice")).toString(),
                     std::max(-2, object.value(QLatin1String("voce")).toInt(-1))},
                    {}};
        for (const QJsonValue& read : object.value(QLatin1String("letti")).toArray())
            issue.read.insert(read.toString());
        if (!issue.name.isEmpty() && !names.contains(issue.name) && issues.size() < kMaxIssues) {
            names.insert(issue.name);
            issues.append(issue);
        }
    }
    return issues;
}

// What was read joins what changed meanwhile: the issues read since come first and keep their last place.
void ReadingStore::merge(const Issues& stored) {
    for (const Issue& issue : stored) {
        qsizetype at = 0;
        while (at < m_issues.size() && m_issues[at].name != issue.name)
            ++at;
        if (at == m_issues.size())
            m_issues.append(issue);
        else
            m_issues[at].read.unite(issue.read);
    }
    keepWithinBounds();
}

void ReadingStore::take(const Issues& stored) {
    merge(stored);
    m_loaded = true;
    emit loaded();
    if (m_changed && !m_write.isActive())
        flush();
}

void ReadingStore::whenLoaded(QObject* context, std::function<void()> then) {
    if (m_loaded) {
        then();
        return;
    }
    auto* once = new QObject(context);
    connect(this, &ReadingStore::loaded, once, [once, then = std::move(then)] {
        once->deleteLater();
        then();
    });
}

// The oldest issues go first; the one read last always stays.
void ReadingStore::keepWithinBounds() {
    qsizetype read = 0;
    for (const Issue& issue : std::as_const(m_issues))
        read += issue.read.size();
    while (m_issues.size() > kMaxIssues || (m_issues.size() > 1 && read > kMaxReadArticles)) {
        read -= m_issues.last().read.size();
        m_issues.removeLast();
    }
}

const ReadingStore::Issue* ReadingStore::find(const QString& issue) const {
    for (const Issue& known : m_issues) {
        if (known.name == issue)
            return &known;
    }
    return nullptr;
}

std::optional<ReadingStore::Place> ReadingStore::lastPlace(const QString& issue) const {
    const Issue* known = find(issue);
    if (!known || known->last.article.isEmpty())
        return std::nullopt;
    return known->last;
}

bool ReadingStore::isRead(const QString& issue, const QString& section, const QString& article) const {
    const Issue* known = find(issue);
    return known && known->read.contains(articleKey(section, article));
}

void ReadingStore::markRead(const QString& issue, const Place& place) {
    Issue& known = touch(issue);
    known.last = place;
    known.read.insert(articleKey(place.section, place.article));
    changed();
}

void ReadingStore::leftAt(const QString& issue, const Place& place) {
    touch(issue).last = place;
    changed();
}

// The issue, made the one read last.
ReadingStore::Issue& ReadingStore::touch(const QString& issue) {
    qsizetype at = 0;
    while (at < m_issues.size() && m_issues[at].name != issue)
        ++at;
    if (at == m_issues.size())
        m_issues.append(Issue{issue, {}, {}});
    m_issues.move(at, 0);
    return m_issues.first();
}

void ReadingStore::changed() {
    keepWithinBounds();
    m_changed = true;
    if (!m_write.isActive())
        m_write.start();
}

void ReadingStore::flush() {
    m_write.stop();
    if (!m_changed || !m_loaded)
        return; // written once the file has been read
    if (m_writing) {
        m_writeAgain = true;
        return;
    }
    m_changed = false;
    m_writing = true;
    runInWorker(
        this,
        [path = m_path, issues = m_issues, sequence = ++m_sequence, order = m_order] {
            return write(path, issues, sequence, order);
        },
        [this](const Outcome<>& outcome) { wrote(outcome); });
}

void ReadingStore::wrote(const Outcome<>& outcome) {
    m_writing = false;
    if (!outcome)
        m_changed = true; // tried again at the next write
    if (std::exchange(m_writeAgain, false))
        flush();
    emit written();
    if (!outcome && !std::exchange(m_failureSaid, true)) {
        Toolkit::current().message(
            nullptr,
            withReason(QStringLiteral("Le letture non sono state salvate: il programma riproverà più avanti."),
                       outcome.reason()),
            QStringLiteral("Ondaris"), Toolkit::Icon::Exclamation);
    }
}

// Runs in a worker, or in the destructor: the issues are a copy of the store's.
Outcome<> ReadingStore::write(const QString& path, const Issues& issues, quint64 sequence,
                              const std::shared_ptr<WriteOrder>& order) {
    QJsonArray stored;
    for (const Issue& issue : issues) {
        QJsonArray read;
        for (const QString& article : issue.read)
            read.append(article);
        stored.append(QJsonObject{{QStringLiteral("nome"), issue.name},
                                  {QStringLiteral("sezione"), issue.last.section},
                                  {QStringLiteral("articolo"), issue.last.article},
                                  {QStringLiteral("posizione"), issue.last.position},
                                  {QStringLiteral("indice"), issue.last.sectionIndex},
                                  {QStringLiteral("voce"), issue.last.spoken},
                                  {QStringLiteral("letti"), read}});
    }
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{QStringLiteral("giornali"), stored}}).toJson(QJsonDocument::Compact);
    const std::lock_guard<std::mutex> held(order->lock);
    if (sequence <= order->written)
        return Success(); // newer changes are already there
    QSaveFile file(path);
    setSystemError(0);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const int code = lastSystemError();
        return Failure{QStringLiteral("impossibile scrivere il file «%1»: %2")
                           .arg(QDir::toNativeSeparators(path), failureReason(file, code))};
    }
    order->written = sequence;
    return Success();
}
