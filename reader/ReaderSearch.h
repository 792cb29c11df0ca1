#pragma once

#include "ArticleSearch.h"

#include <QObject>

class FrmLeggiGiornale;

// Ctrl+F in the reader: a word searched in the open issue, its results in a list of their own ("Cronaca -
// <title>: …words around…", said with their number). Enter opens the article with the caret on the first match,
// F3 moves to the next match in the article, Esc goes back to the results and, from them, to where the search
// started.
class ReaderSearch : public QObject {
    Q_OBJECT

public:
    explicit ReaderSearch(FrmLeggiGiornale* reader);

private:
    struct Origin {
        int view = 0;
        int section = -1;
        int entry = -1;
    };

    void search();
    void showResults(const QList<ArticleSearch::Hit>& hits);
    void openResult();
    void nextMatch();
    void backToOrigin();

    FrmLeggiGiornale* m_reader;
    QString m_word;
    QList<ArticleSearch::Hit> m_hits;
    Origin m_origin;
};
