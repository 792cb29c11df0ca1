// The program's own start-up (options, program folder, toolkit, main menu), stopped once the menu is idle.
#include "ReadyReport.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (const auto exitCode = startUp(QApplication::arguments()))
        return *exitCode;
    reportWhenIdleAndQuit();
    return QApplication::exec();
}
