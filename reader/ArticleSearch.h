#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Finding a word in the articles of an issue, ignoring letter case and accents ("citta" finds "città"). An issue
// is read file by file, in any order and each file once, whether from an archive or from a folder: index files
// give the sections and the titles, article files are searched as the reader shows them (their lines joined).
namespace ArticleSearch {

// The text with letter case and accents folded away; at[i] is where the i-th folded character came from.
QString fold(const QString& text, QList<qsizetype>* at = nullptr);
qsizetype sourceIndex(const QString& text, qsizetype foldedIndex);

struct Hit {
    QString section;      // shown name
    QString indexFile;    // the section's index file
    QString code;         // the article's three-character code
    QString title;        // its contents line without the code
    QString context;      // words around the first match
    qsizetype offset = 0; // the first match in the article's text
    qsizetype length = 0;
};

class IssueScan {
public:
    explicit IssueScan(const QString& word);

    void addFile(const QString& fileName, const QByteArray& bytes);

    // The articles that hold the word, in the order of the sections and of their contents.
    QList<Hit> hits() const;

private:
    QString m_word;                       // folded
    QMap<QString, QStringList> m_indexes; // index file (case-folded key order) → its lines
    QHash<QString, QString> m_indexNames; // case-folded key → index file name
    QHash<QString, Hit> m_found;          // "section/code" → the match
};

} // namespace ArticleSearch
