#pragma once

#include <QList>
#include <QString>

// An article's text cut into paragraphs a text box can lay out at once. Its lines are joined into one paragraph,
// which the text box lays out whole at every move of the caret: fine for a page, seconds for a long file. A text
// longer than a piece is cut every piece at most: preferably after the end of a sentence, else between two words,
// where the space becomes the paragraph break, so every character keeps its position; only a piece without any
// space gets a break inserted.
struct ArticleParagraphs {
    static constexpr qsizetype kLongestPiece = 8192;

    QString text;
    // Where breaks were inserted, as positions in the joined text, ascending.
    QList<qsizetype> inserted;

    static ArticleParagraphs cut(const QString& joined, qsizetype longestPiece = kLongestPiece);

    // Where a position of the joined text is in the cut text.
    qsizetype shown(qsizetype position) const;
    // Where a position of the cut text is in the joined text (an inserted break counts as the character after it).
    qsizetype joined(qsizetype shownPosition) const;
};
