#include "SpeechRecorder.h"

#include <QApplication>
#include <QHash>
#include <QWidget>

// The offscreen platform has no screen-reader bridge, and Qt sends no accessibility event while none is active.
// The platform's default accessibility object is switched on directly, through its exported functions. That
// default does not read the integration it is asked of, so an empty stand-in is enough to ask it.
QT_BEGIN_NAMESPACE
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility* accessibility() const; // the default one, which does not read the integration
};
QT_END_NAMESPACE

namespace {

QList<SpeechRecorder::Event>* s_sink = nullptr;

// The labels inside a notification, as Orca reads them: a label whose text the notification's name already holds
// is left out.
void notificationLabels(QAccessibleInterface* iface, const QString& rootName, QStringList& labels, int depth) {
    for (int i = 0; iface && depth < 50 && i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child || child->state().invisible)
            continue;
        const QString name = child->text(QAccessible::Name);
        if (child->role() == QAccessible::StaticText && !name.isEmpty() && !rootName.contains(name))
            labels << name;
        notificationLabels(child, rootName, labels, depth + 1);
    }
}

void record(QAccessibleEvent* event) {
    if (!s_sink)
        return;
    SpeechRecorder::Event recorded;
    recorded.type = event->type();
    recorded.object = event->object();
    recorded.child = event->child();
    if (QAccessibleInterface* object = QAccessible::queryAccessibleInterface(event->object()))
        recorded.value = object->text(QAccessible::Value);
    if (QAccessibleInterface* iface = event->accessibleInterface()) {
        recorded.name = iface->text(QAccessible::Name);
        recorded.description = iface->text(QAccessible::Description);
        recorded.id = QAccessible::uniqueId(iface);
        if (QAccessibleTextInterface* text = iface->textInterface()) {
            int start = 0, end = 0;
            if (text->selectionCount() > 0)
                text->selection(0, &start, &end);
            recorded.textSelected = start != end;
        }
        if (event->type() == QAccessible::ObjectShow && iface->role() == QAccessible::Notification) {
            QStringList labels;
            notificationLabels(iface, recorded.name, labels, 0);
            recorded.notified = labels.join(QString());
        }
    }
    s_sink->append(recorded);
}

void collect(QAccessibleInterface* iface, QStringList& texts, int depth) {
    if (!iface || depth > 50)
        return;
    for (QAccessible::Text kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help})
        texts << iface->text(kind);
    if (QAccessibleTextInterface* text = iface->textInterface())
        texts << text->text(0, text->characterCount());
    for (int i = 0; i < iface->childCount(); ++i)
        collect(iface->child(i), texts, depth + 1);
}

} // namespace

SpeechRecorder::SpeechRecorder() {
    static const QPlatformIntegration integration{};
    integration.accessibility()->setActive(true);
    if (!QAccessible::isActive())
        qFatal("accessibility could not be switched on");
    s_sink = &m_events;
    QAccessible::installUpdateHandler(record);
}

SpeechRecorder::~SpeechRecorder() {
    QAccessible::installUpdateHandler(nullptr);
    s_sink = nullptr;
}

QStringList SpeechRecorder::focusSpoken() const {
    QStringList spoken;
    for (const Event& event : m_events) {
        if (event.type == QAccessible::Focus)
            spoken << (event.description.isEmpty() ? event.name : event.name + " | " + event.description);
    }
    return spoken;
}

QStringList SpeechRecorder::notifications() const {
    QStringList notified;
    for (const Event& event : m_events) {
        if (!event.notified.isEmpty())
            notified << event.notified;
    }
    return notified;
}

int SpeechRecorder::selectionsHeardRemoved() const {
    QHash<QAccessible::Id, bool> selected;
    int removed = 0;
    for (const Event& event : m_events) {
        if (event.type == QAccessible::TextSelectionChanged && selected.value(event.id) && !event.textSelected)
            ++removed;
        if (event.type == QAccessible::TextSelectionChanged)
            selected[event.id] = event.textSelected;
        else if (event.type == QAccessible::Focus) // read when the screen reader gets to it: nothing known yet
            selected[event.id] = false;
    }
    return removed;
}

QStringList SpeechRecorder::everyAccessibleText() {
    QStringList texts;
    for (QWidget* window : QApplication::topLevelWidgets())
        collect(QAccessible::queryAccessibleInterface(window), texts, 0);
    texts.removeAll(QString());
    return texts;
}
