// The baseline: the smallest Qt Widgets program that shows a window with one button, as large as the main menu.
#include "ReadyReport.h"

#include <QApplication>
#include <QPushButton>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(276, 206); // the main menu's size
    QPushButton button(QStringLiteral("Esci"), &window);
    window.show();
    reportWhenIdleAndQuit();
    return QApplication::exec();
}
