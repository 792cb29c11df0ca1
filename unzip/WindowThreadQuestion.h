#pragma once

#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// A question that a worker asks the user: the box opens on the window thread, which never waits for it, while the
// worker waits for the answer. A box that goes without an answer gives the answer of a closed box: when its context
// is destroyed while it is up, when opening it fails, and when the program quits (from then on every question
// gets that answer at once). A question asked on the window thread itself, which must never wait, gets it too.
namespace WindowThreadQuestion {

// The object whose window a question belongs to, known from the window thread; none: the active window.
using Context = std::optional<QPointer<QObject>>;

// A question up, as the program's end sees it.
class Pending {
public:
    virtual ~Pending() = default;
    virtual void close() = 0; // the answer of a closed box, unless an answer came first
};

// Runs open on the window thread with the context (null when none was given) and a done() to call with the
// answer; false, and nothing run, when no window thread can answer (the program is ending, or the caller is the
// window thread).
bool post(const std::shared_ptr<Pending>& question, const Context& context,
          std::function<void(QObject* context, std::function<void()> done)> open);
// Every question up gets the answer of a closed box, and so does every later one. Safe to call more than once.
void programEnding();

template <typename Answer> class Question : public Pending {
public:
    explicit Question(Answer closed) : m_closed(std::move(closed)) {}
    void give(const Answer& answer) {
        const std::lock_guard lock(m_mutex);
        if (m_answer)
            return;
        m_answer = answer;
        m_answered.notify_all();
    }
    void close() override { give(m_closed); }
    Answer wait() {
        std::unique_lock lock(m_mutex);
        m_answered.wait(lock, [this] { return m_answer.has_value(); });
        return *m_answer;
    }

private:
    const Answer m_closed;
    std::mutex m_mutex;
    std::condition_variable m_answered;
    std::optional<Answer> m_answer;
};

// Opens the box through open(context, reply) on the window thread and waits for its answer.
template <typename Answer>
Answer ask(const Context& context, std::function<void(QObject*, std::function<void(const Answer&)>)> open,
           Answer closed) {
    auto question = std::make_shared<Question<Answer>>(std::move(closed));
    const bool posted = post(question, context, [question, open](QObject* owner, std::function<void()> done) {
        open(owner, [question, done](const Answer& answer) {
            done();
            question->give(answer);
        });
    });
    if (!posted)
        question->close();
    return question->wait();
}

} // namespace WindowThreadQuestion
