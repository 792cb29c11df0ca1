#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The layout of an extracted issue: a flat folder where each section has an index file, named
// [prefix-]section name, one separator character, "000", a four-character extension (01-Cronaca-000.txt), whose
// lines are the section's contents; each line's first three characters name the article file "Cronaca-001.txt".
namespace NewspaperStructure {

struct Section {
    QString shownName; // "Cronaca"
    QString indexFile; // "01-Cronaca-000.txt"
};

struct Scan {
    enum class Outcome {
        Sections,    // at least one section, in listing order
        NoNewspaper, // no section index file at all
        Failed,      // the folder could not be listed, or an index name could not be cut
    };
    Outcome outcome = Outcome::Failed;
    QList<Section> sections;
};

// True when the name ends in "000" followed by exactly four characters, whatever they are.
bool isSectionIndex(const QString& fileName);

// The scan over file names given in listing order.
Scan scanFileNames(const QStringList& fileNames);

// The scan of the files directly inside the folder, listed in ascending order of name without regard to case.
Scan RilevaStruttura(const QString& folder);

// folder, separator, index file.
QString sectionIndexPath(const QString& folder, const QString& indexFile);

// folder, separator, section name, "-", the first three characters of the contents line, ".txt".
QString articlePath(const QString& folder, const QString& sectionName, const QString& contentsLine);

// The lines of a section index file, verbatim and in order. Throws FileError.
QStringList CaricaSommario(const QString& indexPath);

// The article's text: its lines joined with nothing between them. Throws FileError.
QString CaricaArticolo(const QString& articlePath);

} // namespace NewspaperStructure
