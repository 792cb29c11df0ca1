#pragma once

#include "Outcome.h"

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <memory>
#include <type_traits>

template <typename T> struct IsOutcome : std::false_type {};
template <typename T> struct IsOutcome<Outcome<T>> : std::true_type {};

// Why work in a worker ended with an exception, as a failure the user can be told.
QString internalFailure(const std::exception_ptr& caught);

// Qt's thread pool, futures and event queue synchronise in code that ThreadSanitizer does not see; a hand-over
// from one thread to another through them is told to it, so that it sees the order Qt keeps.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
inline void handOver(const void* token) {
    __tsan_release(const_cast<void*>(token));
}
inline void takeOver(const void* token) {
    __tsan_acquire(const_cast<void*>(token));
}
#else
inline void handOver(const void*) {}
inline void takeOver(const void*) {}
#endif

// Runs the call in the target's thread, from its event loop, with what the caller did before it seen there.
template <typename Call> void postTo(QObject* target, Call call) {
    const auto token = std::make_shared<char>();
    handOver(token.get());
    QMetaObject::invokeMethod(
        target,
        [token, call = std::move(call)]() mutable {
            takeOver(token.get());
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
    const auto token = std::make_shared<char>();
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, token, then = std::move(then)] {
        takeOver(token.get());
        watcher->deleteLater();
        then(watcher->result());
    });
    handOver(token.get());
    watcher->setFuture(QtConcurrent::run([token, work = std::move(work)]() mutable -> Result {
        takeOver(token.get());
        Result result = Failure{};
        try {
            result = work();
        } catch (...) {
            result = Failure{internalFailure(std::current_exception())};
        }
        handOver(token.get());
        return result;
    }));
}
