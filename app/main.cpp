#include "CommandLine.h"
#include "Startup.h"
#include "Update.h"
#include "platform/ProcessEnd.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (CommandLine::asksForHelp(argc, argv)) {
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    }
    if (CommandLine::asksForCheck(argc, argv)) {
        QCoreApplication app(argc, argv);
        return checkInstallation(QCoreApplication::arguments());
    }
    if (CommandLine::asksForUpdate(argc, argv)) {
        QCoreApplication app(argc, argv);
        startUpdate(QCoreApplication::arguments());
        return endProcess(QCoreApplication::exec());
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("it.ondaris.LettoreGiornali")); // the menu entry's window
    if (const auto exitCode = startUp(QApplication::arguments()))
        return *exitCode;
    return QApplication::exec();
}
