#include "ReadyReport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace

void reportWhenIdleAndQuit() {
    QTimer::singleShot(0, [] {
        std::printf("pronto %ld\n", residentKiB());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}
