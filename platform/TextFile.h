#pragma once

#include <QString>
#include <QStringList>

// Line-oriented text files in the 8-bit code page, lines ended by CR LF (a bare LF is accepted on reading).
// Every operation opens and closes the file within itself and throws FileError when it fails.
namespace TextFile {

enum class Access {
    Shared,    // created with the usual permissions
    OwnerOnly, // created readable and writable by its owner only (files that hold a password)
};

// The lines of the file, without their line ends. A missing file fails.
QStringList readLines(const QString& path);

// As readLines, but a missing file is first created empty.
QStringList readLinesCreatingIfMissing(const QString& path, Access access = Access::Shared);

// Writes the line and CR LF at the end of the file, creating it when missing. A write that fails part way is
// taken back, so the file ends as it did before.
void appendLine(const QString& path, const QString& line, Access access = Access::Shared);

// Replaces the whole file with the one line and CR LF. The new file is complete before it takes the old one's
// place, so a failure leaves the old file as it was.
void replaceWithLine(const QString& path, const QString& line, Access access = Access::Shared);

// The lines of the file joined with nothing between them: the text without its line ends. A missing file fails.
QString readJoinedLines(const QString& path);

// The lines of a text already read, split as readLines splits a file.
QStringList splitLines(const QString& text);

} // namespace TextFile
