#include "DelayedProgress.h"

DelayedProgress::DelayedProgress(const QString& label, const QString& title, std::function<void()> cancel,
                                 QObject* parent)
    : QObject(parent), m_label(label), m_title(title), m_cancel(std::move(cancel)) {
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, &DelayedProgress::showNow);
    m_quiet.start(kQuietMs);
}

DelayedProgress::~DelayedProgress() = default;

void DelayedProgress::update(qint64 done, qint64 total) {
    m_done = done;
    m_total = total;
    if (m_window)
        m_window->update(done, total);
}

void DelayedProgress::showNow() {
    m_quiet.stop();
    if (m_window)
        return;
    std::function<void()> onCancel;
    if (m_cancel) {
        onCancel = [this] {
            m_window.reset();
            if (auto cancel = std::exchange(m_cancel, nullptr))
                cancel();
        };
    }
    m_window = Toolkit::current().showWait(m_label, m_title, std::move(onCancel));
    m_window->update(m_done, m_total);
}
