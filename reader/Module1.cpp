#include "Module1.h"

#include "IssueOpening.h"

namespace Module1 {

void ApriArchivio(const QString& archivePath) {
    IssueOpening::start(archivePath);
}

} // namespace Module1
