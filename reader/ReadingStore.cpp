#include "ReadingStore.h"

#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <memory>

namespace {

QString articleKey(const QString& section, const QString& article) {
    return section + QLatin1Char('/') + article;
}

} // namespace

ReadingStore::ReadingStore(const QString& path, int writeDelayMs) : m_path(path) {
    m_write.setSingleShot(true);
    m_write.setInterval(writeDelayMs);
    connect(&m_write, &QTimer::timeout, this, &ReadingStore::flush);
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &ReadingStore::flush);
    load();
}

ReadingStore::~ReadingStore() {
    flush();
}

namespace {

std::unique_ptr<ReadingStore>& currentStore() {
    static std::unique_ptr<ReadingStore> store;
    return store;
}

} // namespace

ReadingStore& ReadingStore::current() {
    std::unique_ptr<ReadingStore>& store = currentStore();
    const QString path = ProgramFolder::join(QStringLiteral("letture.json"));
    if (!store || store->m_path != path)
        store = std::make_unique<ReadingStore>(path);
    return *store;
}

void ReadingStore::release() {
    currentStore().reset();
}

void ReadingStore::load() {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return;
    const QJsonArray issues =
        QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String("giornali")).toArray();
    for (const QJsonValue& value : issues) {
        const QJsonObject object = value.toObject();
        Issue issue{object.value(QLatin1String("nome")).toString(),
                    {object.value(QLatin1String("sezione")).toString(),
                     object.value(QLatin1String("articolo")).toString(),
                     std::max(0, object.value(QLatin1String("posizione")).toInt()),
                     object.value(QLatin1String("indice")).toString()},
                    {}};
        for (const QJsonValue& read : object.value(QLatin1String("letti")).toArray())
            issue.read.insert(read.toString());
        if (!issue.name.isEmpty() && !find(issue.name) && m_issues.size() < kMaxIssues)
            m_issues.append(issue);
    }
    keepWithinBounds();
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
    qsizetype at = 0;
    while (at < m_issues.size() && m_issues[at].name != issue)
        ++at;
    if (at == m_issues.size())
        m_issues.append(Issue{issue, {}, {}});
    m_issues.move(at, 0);
    m_issues.first().last = place;
    m_issues.first().read.insert(articleKey(place.section, place.article));
    keepWithinBounds();
    m_changed = true;
    if (!m_write.isActive())
        m_write.start();
}

void ReadingStore::flush() {
    if (!m_changed)
        return;
    m_changed = false;
    m_write.stop();
    QJsonArray issues;
    for (const Issue& issue : std::as_const(m_issues)) {
        QJsonArray read;
        for (const QString& article : issue.read)
            read.append(article);
        issues.append(QJsonObject{{QStringLiteral("nome"), issue.name},
                                  {QStringLiteral("sezione"), issue.last.section},
                                  {QStringLiteral("articolo"), issue.last.article},
                                  {QStringLiteral("posizione"), issue.last.position},
                                  {QStringLiteral("indice"), issue.last.sectionIndex},
                                  {QStringLiteral("letti"), read}});
    }
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("giornali"), issues}}).toJson(QJsonDocument::Compact));
        file.commit(); // a store that cannot be written only forgets: reading goes on
    }
}
