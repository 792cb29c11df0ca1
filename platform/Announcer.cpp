#include "Announcer.h"

#include <QAccessibleWidget>

namespace {

class AccessibleAnnouncer : public QAccessibleWidget {
public:
    explicit AccessibleAnnouncer(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            const QString said = static_cast<QLabel*>(widget())->text();
            return said.isEmpty() ? QStringLiteral("Riga di stato") : said;
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* announcerFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("Announcer") && object && object->isWidgetType())
        return new AccessibleAnnouncer(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("Annuncio"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    installAccessibleAnnouncer();
    QLabel::hide();
}

void Announcer::clear() {
    hide();
    setText(QString());
}

// Shown again for every text: its appearing is what a screen reader speaks.
void Announcer::say(const QString& text) {
    setText(text);
    hide();
    show();
}

void installAccessibleAnnouncer() {
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(announcerFactory);
    installed = true;
}
