#pragma once

#include "ReaderScreen.h"

#include <QObject>

class QWidget;

// What makes the reader a talking-book player, beside the keys it had: Ctrl+PageDown / Ctrl+PageUp for the next
// or previous article (across sections) or, in the contents, the next or previous section; F2 "Dove sono?";
// Ctrl+R to resume at the article last read; read marks ("letto") on the contents; F1 for the keys. The section
// indexes these keys need are read in a worker, each once.
class TalkingBook : public QObject {
    Q_OBJECT

public:
    TalkingBook(QWidget* window, ReaderScreen& screen);

    // What F2 says in the view on screen.
    QString whereAmI() const;

    // The reader tells: a section's contents are in the list; an article of them is on screen.
    void markLoadedContents();
    void articleOpened(int entry);

private:
    void step(int direction); // +1 next, -1 previous
    void stepArticle(int direction);
    void stepSection(int direction);
    void resume();
    void announceSection(int section, const QString& before = {});
    QString lastReading() const;

    ReaderScreen& m_screen;
};
