#pragma once

#include "WindowThreadQuestion.h"

#include <QString>
#include <atomic>
#include <cstdint>

// The state of one run of the driver: what the library printed, whether a password was declined, the entries
// begun and the window its questions belong to. While it lives it is the run of the thread that made it: the
// library calls the callbacks on the thread that called it, and they reach the run through current().
class UnzipRun {
public:
    explicit UnzipRun(WindowThreadQuestion::Context questionContext = std::nullopt);
    ~UnzipRun();
    UnzipRun(const UnzipRun&) = delete;
    UnzipRun& operator=(const UnzipRun&) = delete;

    // The run of the calling thread; null outside a run.
    static UnzipRun* current();

    // The printed text, appended chunk by chunk; it becomes the last message when the run ends.
    QString MessageText;
    // 1 once the user declined a password: no more password questions in this run.
    int16_t PasswordDeclined = 0;
    // Counted by the run's thread, read by the window thread for a progress.
    std::atomic<int> entriesStarted{0};
    const WindowThreadQuestion::Context questionContext;

private:
    UnzipRun* m_previous;
};
