#pragma once

#include "Outcome.h"

#include <QFuture>
#include <QFutureInterface>
#include <QFutureWatcher>
#include <QObject>
#include <QRunnable>
#include <QThreadPool>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

template <typename T> struct IsOutcome : std::false_type {};
template <typename T> struct IsOutcome<Outcome<T>> : std::true_type {};

// Why work in a worker ended with an exception, as a failure the user can be told.
QString internalFailure(const std::exception_ptr& caught);

// Qt's thread pool, futures and event queue synchronise in code that ThreadSanitizer does not see; a hand-over
// from one thread to another through them is told to it, so that it sees the order Qt keeps.
// One token for every hand-over: the sending side hands over after the last thing it writes into what it sends,
// and the receiving side must take it over before it reads anything it was given.
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

namespace WorkerDetail {

// A call queued to another thread. Qt moves it into the event it queues, and that move is the last thing the
// sending thread writes: the hand-over follows it. The receiving thread takes over before it runs the call, and
// hands over once it has run it: Qt holds the call from both threads, and the last to let go destroys it, so
// whichever thread that is takes over before the call goes (run or not: an event whose receiver has gone is
// dropped).
template <typename Call> class QueuedCall {
public:
    explicit QueuedCall(Call call) : m_call(std::move(call)) {}
    QueuedCall(QueuedCall&& other) : m_call(std::move(other.m_call)) { handOver(); }
    QueuedCall(const QueuedCall&) = delete;
    QueuedCall& operator=(const QueuedCall&) = delete;
    QueuedCall& operator=(QueuedCall&&) = delete;
    ~QueuedCall() { takeOver(); }

    void operator()() {
        takeOver();
        m_call();
        handOver();
    }

private:
    Call m_call;
};

// How a piece of work in the pool ended: its result, or the exception that escaped it.
template <typename Result> struct Ending {
    std::optional<Result> result;
    std::exception_ptr exception;
};

// The work as the pool runs it. It is made whole before it is handed over to the pool, and the pool thread takes
// it over before it reads any of it; its ending is written, then handed over, then the future says it is
// finished. The ending is shared, not kept in the future: whichever side lets go of it last deletes it, in an
// order ThreadSanitizer sees.
template <typename Work> class Task final : public QRunnable {
public:
    using Result = std::invoke_result_t<Work&>;

    Task(Work work, std::shared_ptr<Ending<Result>> ending) : m_work(std::move(work)), m_ending(std::move(ending)) {
        m_done.reportStarted();
    }
    QFuture<void> future() { return m_done.future(); }

    void run() override {
        takeOver();
        try {
            m_ending->result.emplace(m_work());
        } catch (...) {
            m_ending->exception = std::current_exception();
        }
        handOver();
        m_done.reportFinished();
    }

private:
    Work m_work;
    std::shared_ptr<Ending<Result>> m_ending;
    QFutureInterface<void> m_done;
};

} // namespace WorkerDetail

// Work started in the thread pool, for the thread that started it.
template <typename Result> class StartedWork {
public:
    StartedWork(QFuture<void> done, std::shared_ptr<WorkerDetail::Ending<Result>> ending)
        : m_done(std::move(done)), m_ending(std::move(ending)) {}

    // Ends when the work has (a watcher can follow it).
    const QFuture<void>& done() const { return m_done; }
    bool isFinished() const { return m_done.isFinished(); }
    // Waits for the work to end: its result, or the exception that escaped it, thrown again here.
    Result result() const {
        QFuture<void>(m_done).waitForFinished();
        takeOver();
        if (m_ending->exception)
            std::rethrow_exception(m_ending->exception);
        return *m_ending->result;
    }

private:
    QFuture<void> m_done;
    std::shared_ptr<WorkerDetail::Ending<Result>> m_ending;
};

// Runs the work in the thread pool. Everything the caller did before is seen by the work, and everything the work
// did is seen by the caller once result() returns.
template <typename Work> StartedWork<std::invoke_result_t<Work&>> startInWorker(Work work) {
    using Result = std::invoke_result_t<Work&>;
    auto ending = std::make_shared<WorkerDetail::Ending<Result>>();
    auto* task = new WorkerDetail::Task<Work>(std::move(work), ending);
    StartedWork<Result> started(task->future(), std::move(ending));
    handOver();
    QThreadPool::globalInstance()->start(task);
    return started;
}

// Runs the call in the target's thread, from its event loop, with what the caller did before it seen there.
template <typename Call> void postTo(QObject* target, Call call) {
    QMetaObject::invokeMethod(target, WorkerDetail::QueuedCall<Call>(std::move(call)), Qt::QueuedConnection);
}

// Runs the work in the thread pool and hands its Outcome to then() on the context's thread. The watcher belongs
// to the context: a context destroyed meanwhile takes it along, and then() never runs. An exception that escapes
// the work never reaches the pool: it comes to then() as a failure, "errore interno" with what it said.
template <typename Work, typename Then> void runInWorker(QObject* context, Work work, Then then) {
    using Result = std::invoke_result_t<Work&>;
    static_assert(IsOutcome<Result>::value, "work in a worker returns an Outcome");
    auto* watcher = new QFutureWatcher<void>(context);
    StartedWork<Result> started = startInWorker(std::move(work));
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, started, then = std::move(then)] {
        watcher->deleteLater();
        Result result = Failure{};
        try {
            result = started.result();
        } catch (...) {
            result = Failure{internalFailure(std::current_exception())};
        }
        then(result);
    });
    watcher->setFuture(started.done());
}
