#pragma once

#include <QWidget>

class QLabel;

// A status line that a screen reader speaks whenever it says something new, without taking the focus from where
// the user is: it is a notification for assistive technology, and a notification that appears is spoken (Orca
// does so through AT-SPI) and its text, a label inside it, shown on the braille display. The text stays on screen
// until the next one or clear().
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void say(const QString& text);
    // Hidden and empty until the next say(), so a window that appears does not repeat an old text.
    void clear();
    QString text() const;

private:
    QLabel* m_text;
};

// The accessibility factory that gives announcers their role; installed once at start-up, like the other
// accessibility fixes.
void installAccessibleAnnouncer();

// Says the text in the window of ours that the user is in, without moving the focus, through a status line of its
// own (for the ear and the braille display only: the window itself shows what changed). False when none of our
// windows is active: nothing is said.
bool sayWhereTheUserIs(const QString& text);
