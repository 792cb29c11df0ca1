#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <vector>

// Timing and memory helpers shared by the benchmarks.

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds the work took.
inline double elapsedMs(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

// The median time of the work over the given number of runs, after one warm-up run.
inline double medianMs(int runs, const std::function<void()>& work) {
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(elapsedMs(work));
    return median(times);
}

// A "VmRSS:" or "VmHWM:" figure of this process, in KiB (Linux).
inline long statusKiB(const char* field) {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(qstrlen(field))).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// The longest the event loop was kept from a timer due every 10 ms, less those 10 ms: how long the window would
// have been frozen. It measures while the object lives and the event loop runs.
class StallMeter {
public:
    StallMeter() {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = m_clock.nsecsElapsed() / 1e6;
            m_worst = std::max(m_worst, now - m_last - 10.0);
            m_last = now;
        });
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.start(10);
    }
    double worstMs() const { return std::max(0.0, m_worst); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_worst = 0;
};

// Handles the window thread's events, as the program's one event loop does, until done() holds.
inline void runUntil(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The longest stall of the event loop left idle for a second: the floor the other stalls are read against.
inline double idleStallMs() {
    StallMeter meter;
    bool elapsed = false;
    QTimer::singleShot(1000, [&] { elapsed = true; });
    runUntil([&] { return elapsed; });
    return meter.worstMs();
}
