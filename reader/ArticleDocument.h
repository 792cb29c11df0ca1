#pragma once

#include "ArticleParagraphs.h"
#include "platform/Outcome.h"

#include <memory>

class QTextDocument;
class QThread;

// An article's document for the reader's text box, read from its file and built in a worker: putting a long text
// into a text box takes seconds the window must not wait. Until the window takes it the document is this object's,
// and one that never reaches the window is deleted in the window's thread.
class ArticleDocument {
public:
    // Reads the article and builds its document, handed to the window thread.
    static Outcome<ArticleDocument> load(const QString& path, QThread* windowThread);

    // In the window thread: the document, laid out for a plain text box, now the caller's; nullptr once taken.
    QTextDocument* take() const;
    // Where a position of the article's joined text is in the document.
    qsizetype shown(qsizetype position) const { return m_breaks.shown(position); }
    // Where the document's breaks were inserted into the article's joined text.
    const ArticleParagraphs& breaks() const { return m_breaks; }

private:
    struct Owner;
    std::shared_ptr<Owner> m_owner;
    ArticleParagraphs m_breaks;
};
