#pragma once

#include <QString>
#include <QUrl>

// Downloads an archive into a file, streamed to disk behind a progress window, never held whole in memory.
// The body goes to a temporary file beside the target and takes the target's place only when all of it has
// arrived with a success status and begins with a ZIP signature ("PK"): a failed or cancelled download leaves an
// archive already stored under that name as it was, and no partial file.
namespace ArchiveDownload {

struct Result {
    bool ok = false;
    QString reason; // Italian, without the address's query (which holds the password)
};

Result URLDownloadToFile(const QUrl& address, const QString& targetPath, const QString& shownName);

} // namespace ArchiveDownload
