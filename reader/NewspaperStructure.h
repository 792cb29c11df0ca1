#pragma once

#include "platform/Outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

// The layout of an extracted issue: a flat folder where each section has an index file, named
// [prefix-]section name, one separator character, "000", a four-character extension (01-Cronaca-000.txt), whose
// lines are the section's contents; each line's first three characters name the article file "Cronaca-001.txt".
// The reading operations touch files and run in a worker.
namespace NewspaperStructure {

struct Section {
    QString shownName; // "Cronaca"
    QString indexFile; // "01-Cronaca-000.txt"
};

// True when the name ends in "000" followed by exactly four characters, whatever they are.
bool isSectionIndex(const QString& fileName);

// The sections found among file names given in listing order; none when no name is an index file. A name that
// passes the index test but cannot be cut into a section name fails the whole scan.
Outcome<QList<Section>> scanFileNames(const QStringList& fileNames);

// The scan of the files directly inside the folder, listed in ascending order of name without regard to case;
// a folder that cannot be listed fails with its reason.
Outcome<QList<Section>> RilevaStruttura(const QString& folder);

// folder, separator, index file.
QString sectionIndexPath(const QString& folder, const QString& indexFile);

// folder, separator, section name, "-", the first three characters of the contents line, ".txt".
QString articlePath(const QString& folder, const QString& sectionName, const QString& contentsLine);

// The lines of a section index file, verbatim and in order.
Outcome<QStringList> CaricaSommario(const QString& indexPath);

// The article's text: its lines joined with nothing between them.
Outcome<QString> CaricaArticolo(const QString& articlePath);

} // namespace NewspaperStructure
