#include "TestProgramFolder.h"

#include "app/Startup.h"
#include "platform/CurrentProfile.h"
#include "platform/ProgramFolder.h"
#include "reader/ReadingStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <csignal>
#ifndef Q_OS_WIN
#include <sys/resource.h>
#endif

TestProgramFolder::TestProgramFolder() {
    QVERIFY(m_dir.isValid());
    ProgramFolder::set(m_dir.path());
    CurrentProfile::reset();
    Toolkit::install(&toolkit);
    wireSubsystems();
}

TestProgramFolder::~TestProgramFolder() {
    ReadingStore::release(); // its file goes with the folder
    // Deleting one window deletes the windows it owns (a list's pop-up), so each is looked at again first.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget>& window : windows) {
        if (window && !window->parentWidget())
            delete window.data();
    }
    QCOMPARE(toolkit.pending(), 0); // every scripted answer was used
    Toolkit::install(nullptr);
    ProgramFolder::set({});
}

void TestProgramFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray TestProgramFolder::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QStringList TestProgramFolder::files(const QString& folder) const {
    return QDir(file(folder)).entryList(QDir::Files);
}

bool TestProgramFolder::settlesTo(const QString& folder, const QStringList& names) const {
    QElapsedTimer all;
    all.start();
    QElapsedTimer steady;
    steady.start();
    while (all.elapsed() < 20000) {
        if (files(folder) != names)
            steady.restart();
        else if (steady.elapsed() >= 500)
            return true;
        QTest::qWait(20);
    }
    return false;
}

#ifdef Q_OS_WIN

// Windows has no limit on a process's file size.
bool FileSizeLimit::available() {
    return false;
}
FileSizeLimit::FileSizeLimit(long long) : m_previous(0) {}
FileSizeLimit::~FileSizeLimit() = default;

#else

bool FileSizeLimit::available() {
    return true;
}

FileSizeLimit::FileSizeLimit(long long bytes) {
    std::signal(SIGXFSZ, SIG_IGN); // a refused write then fails with EFBIG instead of ending the process
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_previous = static_cast<long long>(limit.rlim_cur);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(m_previous);
    setrlimit(RLIMIT_FSIZE, &limit);
}

#endif
