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

// Qt's thread pool, futures and event queue synchronise in code that ThreadSanitizer does not see; a hand-over
// from one thread to another through them is told to it, so that it sees the order Qt keeps.
// One token for every hand-over: the receiving side must take it over before it reads anything it was given.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
inline char g_handOverToken;
inline void handOver() {
    __tsan_release(&g_handOverToken);
}
inline void takeOver() {
    __tsan_acquire(&g_handOverToken);
}
#else
inline void handOver() {}
inline void takeOver() {}
#endif

// Runs the call in the target's thread, from its event loop, with what the caller did before it seen there.
template <typename Call> void postTo(QObject* target, Call call) {
    handOver();
    QMetaObject::invokeMethod(
        target,
        [call = std::move(call)]() mutable {
            takeOver();
            call();
        },
        Qt::QueuedConnection);
}

// Runs the work in the thread pool and hands its Outcome to then() on the context's thread. The watcher belongs
// to the context: a context destroyed meanwhile takes it along, and then() never runs. An exception that escapes
// the work never reaches the pool: it comes to then() as a failure, "errore interno" with what it said.
template <typename Work, typename Then> void runInWorker(QObject* context, Work work, Then then) {
    using Result = std::invoke_result_t<Work>;
    static_assert(IsOutcome<Result>::value, "work in a worker returns an Outcome");
    auto* watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, then = std::move(then)] {
        takeOver();
        watcher->deleteLater();
        then(watcher->result());
    });
    handOver();
    watcher->setFuture(QtConcurrent::run([work = std::move(work)]() mutable -> Result {
        takeOver();
        Result result = Failure{};
        try {
            result = work();
        } catch (...) {
            result = Failure{internalFailure(std::current_exception())};
        }
        handOver();
        return result;
    }));
}
