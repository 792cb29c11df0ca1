#include "KeyGuide.h"

#include "Toolkit.h"

#include <QShortcut>
#include <QStringList>
#include <QWidget>

void addKeyGuide(QWidget* window, const QString& title, const QStringList& keys) {
    auto* f1 = new QShortcut(Qt::Key_F1, window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, [title, keys] {
        Toolkit::current().message(keys.join(QLatin1Char('\n')), title, Toolkit::Icon::Information);
    });
}
