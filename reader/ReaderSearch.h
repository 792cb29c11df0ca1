#pragma once

#include "ArticleSearch.h"
#include "ReaderScreen.h"
#include "platform/Outcome.h"

#include <QObject>

class QWidget;

// Ctrl+F in the reader: a word searched in the open issue, its results in a list of their own ("Cronaca -
// <title>: …words around…", said with their number). Enter opens the article with the caret on the first match,
// F3 moves to the next match in the article, Esc goes back to the results and, from them, to where the search
// started. The issue is searched in a worker; only the latest search's results are shown.
// What a search of the folder found, and the files it could not read.
struct FolderHits {
    QList<ArticleSearch::Hit> hits;
    QStringList unreadable;
};

class ReaderSearch : public QObject {
    Q_OBJECT

public:
    ReaderSearch(QWidget* window, ReaderScreen& screen);

private:
    struct Origin {
        ReaderScreen::View view = ReaderScreen::View::Sections;
        int section = -1;
        int entry = -1;
    };

    void search();
    void searchFor(const QString& word);
    void showResults(const QString& word, const Outcome<FolderHits>& found);
    void openResult();
    void nextMatch();
    void backToOrigin();

    QWidget* m_window;
    ReaderScreen& m_screen;
    QString m_word;
    QList<ArticleSearch::Hit> m_hits;
    Origin m_origin;
    quint64 m_generation = 0; // of the latest search started
};
