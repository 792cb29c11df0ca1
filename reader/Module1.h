#pragma once

#include <QString>

// Opens a newspaper archive (IssueOpening): extracts it into the program's extraction folder off the window
// thread, shows the reader, scans the issue and titles the reader from the archive's base name. Returns at once.
// A failure of the unzip job ends it before the reader is shown, without a message; a nonzero extraction code is
// reported and the reader still opens on whatever was extracted.
namespace Module1 {

void ApriArchivio(const QString& archivePath);

} // namespace Module1
