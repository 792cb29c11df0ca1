#include "ArchiveComment.h"

#include "TextTools.h"
#include "ZipDirectory.h"

std::string archiveComment(const std::string& archivePath) {
    const std::optional<ZipDirectory::EndRecord> end = ZipDirectory::endRecord(archivePath);
    return end ? TextTools::dosToUtf8(end->comment) : std::string();
}
