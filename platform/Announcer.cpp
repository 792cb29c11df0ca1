#include "Announcer.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// A notification without a name of its own: Orca says and shows the labels inside a notification, unless the
// notification's name already holds their text.
class AccessibleAnnouncer : public QAccessibleWidget {
public:
    explicit AccessibleAnnouncer(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name)
            return {};
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* announcerFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("Announcer") && object && object->isWidgetType())
        return new AccessibleAnnouncer(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent), m_text(new QLabel(this)) {
    setObjectName(QStringLiteral("Annuncio"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    installAccessibleAnnouncer();
    QWidget::hide();
}

QString Announcer::text() const {
    return m_text->text();
}

void Announcer::clear() {
    hide();
    m_text->clear();
}

// Shown again for every text: its appearing is what a screen reader speaks.
void Announcer::say(const QString& text) {
    m_text->setText(text);
    hide();
    show();
}

void installAccessibleAnnouncer() {
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(announcerFactory);
    installed = true;
}

bool sayWhereTheUserIs(const QString& text) {
    QWidget* window = QApplication::activeWindow();
    if (!window && QApplication::focusWidget())
        window = QApplication::focusWidget()->window();
    if (!window)
        return false;
    auto* announcer = window->findChild<Announcer*>(QStringLiteral("AnnuncioAspetto"));
    if (!announcer) {
        announcer = new Announcer(window);
        announcer->setObjectName(QStringLiteral("AnnuncioAspetto"));
        announcer->setGeometry(0, 0, 1, 1);
    }
    announcer->say(text);
    return true;
}
