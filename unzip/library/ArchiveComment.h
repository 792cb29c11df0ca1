#pragma once

#include <string>

// The comment of a ZIP archive, from its end-of-central-directory record, as UTF-8 (DOS code page 850 text is
// converted). Empty when the archive has none or the record cannot be found.
std::string archiveComment(const std::string& archivePath);
