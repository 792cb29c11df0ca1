#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent>
#include <type_traits>

// Runs the work in the thread pool and hands its result to then() on the context's thread. The watcher belongs
// to the context: a context destroyed meanwhile takes it along, and then() never runs.
template <typename Work, typename Then> void runInWorker(QObject* context, Work work, Then then) {
    using Result = std::invoke_result_t<Work>;
    auto* watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, then = std::move(then)] {
        watcher->deleteLater();
        then(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}
