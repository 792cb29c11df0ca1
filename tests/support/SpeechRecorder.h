#pragma once

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QString>

// Records what a screen reader is told while it lives: every accessibility event, with the object, the child,
// and the name and description that a screen reader reads for them at that moment. Accessibility is switched on
// for the test process, which has no screen reader to do it.
class SpeechRecorder {
public:
    struct Event {
        QAccessible::Event type = QAccessible::InvalidEvent;
        QPointer<QObject> object;
        int child = -1;
        QString name;              // of the child when there is one, else of the object
        QString description;       // likewise
        QString value;             // of the object: a field's text, a list's entry
        QString notified;          // a notification that appears: the text of its labels, said and shown in braille
        QAccessible::Id id = 0;    // the object as a screen reader knows it
        bool textSelected = false; // for a text's focus and selection events: whether some of it is selected
    };

    SpeechRecorder();
    ~SpeechRecorder();

    const QList<Event>& events() const { return m_events; }

    // "name | description" of the focus events, in order: what a screen reader says as the focus moves.
    QStringList focusSpoken() const;
    // The notifications that appeared, in order, as a screen reader says them and shows them in braille.
    QStringList notifications() const;

    // How many times a screen reader says "Testo non selezionato": a text it knew with a selection (from a selection
    // event since its focus) reports a selection change and has none.
    int selectionsHeardRemoved() const;

    // Every name, description, value and text of every accessible object of the open windows, all the way down.
    static QStringList everyAccessibleText();

private:
    QList<Event> m_events;
};
