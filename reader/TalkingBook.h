#pragma once

#include <QObject>

class FrmLeggiGiornale;

// What makes the reader a talking-book player, beside the keys it had: Ctrl+PageDown / Ctrl+PageUp for the next
// or previous article (across sections) or, in the contents, the next or previous section; F2 "Dove sono?";
// Ctrl+R to resume at the article last read; read marks ("letto") on the contents; F1 for the keys.
class TalkingBook : public QObject {
    Q_OBJECT

public:
    explicit TalkingBook(FrmLeggiGiornale* reader);

    // What F2 says in the view on screen.
    QString whereAmI() const;

private:
    void step(int direction); // +1 next, -1 previous
    void stepArticle(int direction);
    void stepSection(int direction);
    void resume();
    void announceSection(int section);
    bool hasArticles(int section) const;
    void markLoadedContents();
    void articleOpened(int entry);
    QString lastReading() const;

    FrmLeggiGiornale* m_reader;
};
