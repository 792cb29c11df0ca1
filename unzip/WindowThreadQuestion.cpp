#include "WindowThreadQuestion.h"

#include "platform/Worker.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <vector>

namespace WindowThreadQuestion {

namespace {

// The questions up, and whether the program is ending. The application is known to live while `ending` is false:
// the program's end sets it, under the mutex, before the application goes.
struct Desk {
    std::mutex mutex;
    bool ending = false;
    bool watching = false;
    std::vector<std::weak_ptr<Pending>> up;
};

Desk& desk() {
    static Desk shared;
    return shared;
}

// Once: the end of the event loop, and at the latest the application's destruction (which waits for the workers),
// close every question.
void watchTheEnd(QCoreApplication* application) {
    Desk& questions = desk();
    if (questions.watching)
        return;
    questions.watching = true;
    qAddPostRoutine(&programEnding);
    QObject::connect(application, &QCoreApplication::aboutToQuit, application, &programEnding);
}

} // namespace

bool post(const std::shared_ptr<Pending>& question, const Context& context,
          std::function<void(QObject* context, std::function<void()> done)> open) {
    Desk& questions = desk();
    const std::lock_guard lock(questions.mutex);
    QCoreApplication* application = QCoreApplication::instance();
    if (questions.ending || !application || QThread::currentThread() == application->thread())
        return false;
    watchTheEnd(application);
    std::erase_if(questions.up, [](const std::weak_ptr<Pending>& pending) { return pending.expired(); });
    questions.up.push_back(question);
    postTo(application, [question, context, open = std::move(open)] {
        if (context && !*context) {
            question->close(); // the window it belonged to is gone already
            return;
        }
        QObject* owner = context ? context->data() : nullptr;
        auto gone = std::make_shared<QMetaObject::Connection>();
        if (owner)
            *gone = QObject::connect(owner, &QObject::destroyed, [weak = std::weak_ptr<Pending>(question)] {
                if (const auto pending = weak.lock())
                    pending->close();
            });
        try {
            open(owner, [gone] { QObject::disconnect(*gone); });
        } catch (...) {
            QObject::disconnect(*gone);
            question->close();
        }
    });
    return true;
}

void programEnding() {
    std::vector<std::weak_ptr<Pending>> up;
    {
        Desk& questions = desk();
        const std::lock_guard lock(questions.mutex);
        questions.ending = true;
        up.swap(questions.up);
    }
    for (const auto& weak : up) {
        if (const auto pending = weak.lock())
            pending->close();
    }
}

} // namespace WindowThreadQuestion
