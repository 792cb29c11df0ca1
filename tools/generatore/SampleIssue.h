#pragma once

#include <QList>
#include <QString>

// Newspaper issues of our own making, laid out as the service delivers them: a ZIP archive of section index
// files ("01-Cronaca-000.txt", one line per article, "001 Title") and article files ("Cronaca-001.txt"), all
// plain text in Windows-1252 with CR LF line ends.
struct archive;

namespace SampleIssue {

// Opens a new ZIP writer on the file, by its UTF-16 name on Windows (libarchive would take a narrow one through
// the C locale, ASCII only).
bool openForWriting(archive* zip, const QString& path);

struct Layout {
    QString masthead; // "La Gazzetta del Borgo"
    QString date;     // yyyymmdd
    QString edition;  // provincial edition, or empty
    int sections = 8; // at most the number of ordinary section names unless large
    int articlesPerSection = 6;
    bool numberedSections = false; // "Sezione001" ... for large issues
};

// masthead, date and edition joined, as the download names the archive (without ".zip").
QString baseName(const Layout& layout);

// The demo set: several mastheads and dates, one issue with provincial editions.
QList<Layout> demoIssues();

// 200 sections of 100 articles: 20,000 articles.
Layout largeIssue();

// Writes the issue as a ZIP archive; false when it cannot be written.
bool write(const Layout& layout, const QString& zipPath);

} // namespace SampleIssue
