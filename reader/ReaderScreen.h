#pragma once

#include "ArticleTarget.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QPlainTextEdit;
class ReaderTasks;

// What the reader's key sets (the talking book, the search) see of the reader screen: its views and lists, the
// issue on show, and the steps it takes as its own keys would.
class ReaderScreen {
public:
    enum class View { Newspaper, Sections, Contents, Article, Results };

    virtual View view() const = 0;
    virtual QComboBox* sectionList() const = 0;
    virtual QComboBox* contentsList() const = 0;
    virtual QComboBox* resultsList() const = 0;
    virtual QPlainTextEdit* articleText() const = 0;
    virtual void showView(View view) = 0;

    // The issue on show: its title, its extraction folder, its key in the reading store (its archive's base name).
    virtual QString title() const = 0;
    virtual QString folder() const = 0;
    virtual QString issueKey() const = 0;
    // The section's index file name, which no other section shares, and its full path.
    virtual QString sectionIndexFile(int section) const = 0;
    virtual QString sectionIndexPath(int section) const = 0;

    // The reader's file work: whatever runs there, the latest piece wins.
    virtual ReaderTasks& tasks() = 0;

    // Selects the section and shows lines already read as its contents, as Enter in the section list does; shown
    // with show, else loaded behind the view on screen.
    virtual void showSection(int section, const QStringList& contents, bool show) = 0;
    // Selects the entry of the loaded contents and opens its article as Enter in the contents does.
    virtual void openArticle(int entry) = 0;
    // Opens the target's article with its stretch selected; fromResults makes Esc go back to the search results.
    virtual void openArticleAt(const ArticleTarget& target, bool fromResults) = 0;
    // The reading voice has come to the section's entry: the article is shown, the section and the contents in
    // step, without its text being presented anew to a screen reader, as the voice is saying it.
    virtual void followReading(int section, const QStringList& contents, int entry) = 0;
    // The stretch of the article's joined text being said, highlighted and kept in view.
    virtual void highlightSpoken(qsizetype start, qsizetype length) = 0;
    // The entry of the loaded contents was read to its end.
    virtual void markArticleRead(int entry) = 0;
    // Where the caret is in the article's joined text.
    virtual qsizetype caretInArticle() const = 0;
    // The reading voice reads from the section's entry on, at a place in its joined text (-1: its title); false
    // when there is no voice, which the user has been told.
    virtual bool readAloudFrom(int section, int entry, qsizetype offset) = 0;
    // Says something in the reader's status line, which a screen reader speaks without the focus moving.
    virtual void announce(const QString& text) = 0;
    // A failure said in a box over the reader, with its reason; the reader stays where it is.
    virtual void reportUnreadable(const QString& message, const QString& reason) = 0;

protected:
    ~ReaderScreen() = default;
};
