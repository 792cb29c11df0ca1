#include "KeyGuide.h"

#include "Toolkit.h"

#include <QShortcut>
#include <QStringList>
#include <QWidget>

void addKeyGuide(QWidget* window, const QString& title, const QStringList& keys) {
    auto* f1 = new QShortcut(Qt::Key_F1, window);
    f1->setContext(Qt::WindowShortcut);
    const QStringList everywhere{QStringLiteral("Ctrl+più, Ctrl+meno: ingrandiscono e rimpiccioliscono; Ctrl+0: "
                                                "dimensione normale."),
                                 QStringLiteral("Ctrl+Maiuscole+C: contrasto elevato sì o no.")};
    QObject::connect(f1, &QShortcut::activated, window, [window, title, keys = keys + everywhere] {
        Toolkit::current().message(window, keys.join(QLatin1Char('\n')), title, Toolkit::Icon::Information);
    });
}
