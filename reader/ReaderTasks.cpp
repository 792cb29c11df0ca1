#include "ReaderTasks.h"

ReaderTasks::ReaderTasks(QWidget* window) : QObject(window), m_window(window) {}

ReaderTasks::~ReaderTasks() = default;

quint64 ReaderTasks::begin(const QString& label) {
    supersede();
    const quint64 ticket = m_ticket;
    const QString title = m_window ? m_window->windowTitle() : QString();
    m_wait = std::make_unique<DelayedProgress>(label, title, [this, ticket] {
        if (ticket == m_ticket)
            supersede();
    });
    return ticket;
}

bool ReaderTasks::finish(quint64 ticket) {
    const bool current = ticket == m_ticket;
    if (current)
        m_wait.reset();
    emit settled();
    return current;
}

void ReaderTasks::supersede() {
    ++m_ticket;
    if (m_wait)
        m_wait.release()->deleteLater(); // it may be the one calling, from its "Annulla"
}
