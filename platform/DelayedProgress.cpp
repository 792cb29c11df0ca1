#include "DelayedProgress.h"

#include <QPointer>

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

void DelayedProgress::describe(const QString& label) {
    m_label = label;
    if (m_window)
        m_window->describe(label);
}

void DelayedProgress::showNow() {
    m_quiet.stop();
    if (m_window)
        return;
    std::function<void()> onCancel;
    if (m_cancel) {
        // The window calls it from the event loop, after this object may have gone with the work it waited for.
        onCancel = [self = QPointer<DelayedProgress>(this)] {
            if (!self)
                return;
            DelayedProgress* const that = self;
            that->m_window.reset();
            if (auto cancel = std::exchange(that->m_cancel, nullptr))
                cancel();
        };
    }
    m_window = Toolkit::current().showWait(m_label, m_title, std::move(onCancel));
    m_window->update(m_done, m_total);
}
