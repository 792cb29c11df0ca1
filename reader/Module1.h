#pragma once

#include <QString>

// Opens a newspaper archive: extracts it into the program folder's Temp, shows the reader, scans the issue
// and titles the reader from the archive's base name. A failure of the unzip job (UnzipError) ends it before
// the reader is shown and reaches the caller; a nonzero extraction code is reported and the reader still opens
// on whatever was extracted.
namespace Module1 {

void ApriArchivio(const QString& archivePath);

} // namespace Module1
