#pragma once

#include "Toolkit.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

// The wait of work that runs beside the window: nothing during its first 300 ms, then the toolkit's wait window
// with the label, the title and, when a cancel is given, "Annulla". The latest share done is kept and shown when
// the window opens. "Annulla" closes the window and calls the cancel once; destroying the object closes it too.
class DelayedProgress : public QObject {
    Q_OBJECT

public:
    static constexpr int kQuietMs = 300;

    DelayedProgress(const QString& label, const QString& title, std::function<void()> cancel,
                    QObject* parent = nullptr);
    ~DelayedProgress() override;

    void update(qint64 done, qint64 total);
    void describe(const QString& label);
    bool isShown() const { return m_window != nullptr; }
    // Opens the window now, without the quiet start (work that is known to be long).
    void showNow();

private:
    QString m_label;
    QString m_title;
    std::function<void()> m_cancel;
    QTimer m_quiet;
    std::unique_ptr<Toolkit::Progress> m_window;
    qint64 m_done = 0;
    qint64 m_total = 0;
};
