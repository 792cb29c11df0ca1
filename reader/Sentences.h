#pragma once

#include <QList>
#include <QString>

// The sentences of an article's text, as the reading voice says them one by one: each a stretch of the text
// (offsets into it, so that the sentence read can be selected and resumed), without the spaces around it.
//
// A sentence ends at ".", "!", "?" or an ellipsis, with any closing quotes or brackets after it, when a space
// and the start of a new sentence follow (a capital, a digit, an opening quote or a dash); and at every line
// break. It does not end after an abbreviation ("Sig.", "pag.", "art.", "ecc."), an initial ("G. Verdi"), inside
// a number ("250.000", "3,5") or at an ellipsis followed by a small letter. A full stop glued to the next word
// ("fine.Inizio", as article files that join their lines have it) ends the sentence when a word of small letters
// comes before it and a capitalised word after it.
namespace Sentences {

struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const Span&) const = default;
};

QList<Span> split(const QString& text);

} // namespace Sentences
