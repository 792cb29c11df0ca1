#include "StoreSearchRunner.h"

#include "platform/Worker.h"

#include <QThread>

namespace StoreSearch {

Runner::Runner(const QStringList& archives, const QString& word, QObject* parent)
    : QObject(parent), m_archives(archives), m_word(word), m_done(archives.size()) {}

void Runner::start() {
    const int workers = std::max(1, QThread::idealThreadCount());
    for (int i = 0; i < workers; ++i)
        launch();
    publish();
}

void Runner::stop() {
    *m_stop = true;
}

void Runner::launch() {
    if (*m_stop || m_launched >= m_archives.size())
        return;
    const int index = m_launched++;
    ++m_running;
    runInWorker(
        this, [path = m_archives.at(index), word = m_word, stop = m_stop] { return searchArchive(path, word, *stop); },
        [this, index](const Outcome<QList<ArticleSearch::Hit>>& hits) {
            --m_running;
            m_done[index] = hits;
            publish();
            launch();
            publish();
        });
}

void Runner::publish() {
    while (!*m_stop && m_published < m_done.size() && m_done[m_published]) {
        const Outcome<QList<ArticleSearch::Hit>>& done = *m_done[m_published];
        const int archive = m_published++;
        if (done)
            emit found(archive, done.value());
        else
            emit unreadable(archive, done.reason());
    }
    if (!m_finished && m_running == 0 && (*m_stop || m_published == m_done.size())) {
        m_finished = true;
        emit finished();
    }
}

} // namespace StoreSearch
