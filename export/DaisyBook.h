#pragma once

#include "Book.h"

#include <QList>

// The issue as a DAISY 2.02 talking book in a folder: ncc.html with the issue's title, each section an h1 and each
// article an h2, each heading linked to its place in the article's SMIL file; one SMIL 1.0 file per article with a
// par per sentence (the section's name and the title first) pointing at the sentence in content.html, and, with
// audio, at its clip in the article's MP3.
namespace DaisyBook {

// What the voice made of an article: its MP3 file in the book's folder and the clip of every utterance (the
// section's name when the article opens its section, the title, then each sentence), in seconds.
struct ArticleAudio {
    QString file;
    QList<std::pair<double, double>> clips;
};

// The utterances of an article in the book, in order: the section's name when it opens the section, its title,
// then its sentences; what the voice says and what the par points at.
QStringList utterances(const IssueContent& issue, int section, int article);

// "a00012.smil", "a00012.mp3": the file of the book's article of that number (from 1) with the suffix.
QString articleFile(int number, const QString& suffix);

// Writes the book into the folder (which must exist and be empty). The audio has one entry per article, in the
// book's order; without any the book is text only.
Outcome<> write(const IssueContent& issue, const QString& folder, const QString& narrator,
                const QList<ArticleAudio>& audio, const BookProgress& progress);

} // namespace DaisyBook
