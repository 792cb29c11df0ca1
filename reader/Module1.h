#pragma once

#include "ArticleTarget.h"

#include <QString>
#include <optional>

// Opening a newspaper archive (IssueOpening): extracted into the program's extraction folder off the window thread,
// the reader shown, the issue scanned and the reader titled. Each returns at once. A failure is said over the main
// menu; a nonzero extraction code is reported and the reader still opens on whatever was extracted.
namespace Module1 {

// The title is the reader's, already made (ReaderTitle::fromBaseName of the archive's base name).
void ApriArchivio(const QString& archivePath, const QString& title);

// An archive chosen on disk (the file dialog, the library, a search's result), titled by its file name without its
// last four characters and opened at the target when there is one; false, with nothing opened, when the file name
// is shorter than four characters.
bool ApriArchivioScelto(const QString& archivePath, const std::optional<ArticleTarget>& target = std::nullopt);

} // namespace Module1
