#pragma once

#include "platform/DelayedProgress.h"
#include "platform/Worker.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

// The reader's file work, run beside its window one piece at a time: the latest piece started is the one whose
// result counts, and whatever the user does meanwhile (leaving the view, "Annulla" in the wait that shows after
// 300 ms) drops the piece under way, so a late result never moves the reader.
class ReaderTasks : public QObject {
    Q_OBJECT

public:
    explicit ReaderTasks(QWidget* window);
    ~ReaderTasks() override;

    // Runs the work in a worker and hands its Outcome to then() unless a later piece or a move of the user
    // came first. The label shows in the wait window, with the reader's title.
    template <typename Work, typename Then> void run(const QString& label, Work work, Then then) {
        const quint64 ticket = begin(label);
        runInWorker(this, std::move(work), [this, ticket, then = std::move(then)](const auto& outcome) {
            if (finish(ticket))
                then(outcome);
        });
    }

    // The piece under way, if any, will not be applied.
    void supersede();
    bool busy() const { return m_wait != nullptr; }

signals:
    // A piece has come back, applied or not (for tests and benchmarks that wait).
    void settled();

private:
    quint64 begin(const QString& label);
    bool finish(quint64 ticket);

    QPointer<QWidget> m_window;
    quint64 m_ticket = 0;
    std::unique_ptr<DelayedProgress> m_wait;
};
