#pragma once

#include "Outcome.h"

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <type_traits>

template <typename T> struct IsOutcome : std::false_type {};
template <typename T> struct IsOutcome<Outcome<T>> : std::true_type {};

// Why work in a worker ended with an exception, as a failure the user can be told.
QString internalFailure(const std::exception_ptr& caught);

// Runs the work in the thread pool and hands its Outcome to then() on the context's thread. The watcher belongs
// to the context: a context destroyed meanwhile takes it along, and then() never runs. An exception that escapes
// the work never reaches the pool: it comes to then() as a failure, "errore interno" with what it said.
template <typename Work, typename Then> void runInWorker(QObject* context, Work work, Then then) {
    using Result = std::invoke_result_t<Work>;
    auto* watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, then = std::move(then)] {
        watcher->deleteLater();
        then(watcher->result());
    });
    if constexpr (IsOutcome<Result>::value) {
        watcher->setFuture(QtConcurrent::run([work = std::move(work)]() mutable -> Result {
            try {
                return work();
            } catch (...) {
                return Failure{internalFailure(std::current_exception())};
            }
        }));
    } else {
        watcher->setFuture(QtConcurrent::run(std::move(work)));
    }
}
