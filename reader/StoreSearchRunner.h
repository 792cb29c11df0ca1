#pragma once

#include "StoreSearch.h"

#include <QObject>
#include <QVector>

namespace StoreSearch {

// Searches archives in order, several at once in workers (as many as the machine has cores), and reports each
// archive's hits, or why it could not be read, in the order of the list, as soon as it and those before it are
// done. stop() lets the searches under way end at their next entry and reports nothing more but finished().
class Runner : public QObject {
    Q_OBJECT

public:
    Runner(const QStringList& archives, const QString& word, QObject* parent = nullptr);
    void start();
    void stop();

signals:
    void found(int archive, const QList<ArticleSearch::Hit>& hits);
    void unreadable(int archive, const QString& reason);
    void finished();

private:
    void launch();
    void publish();

    QStringList m_archives;
    QString m_word;
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    QVector<std::optional<Outcome<QList<ArticleSearch::Hit>>>> m_done;
    int m_launched = 0;
    int m_published = 0;
    int m_running = 0;
    bool m_finished = false;
};

} // namespace StoreSearch
