#include "Module1.h"

#include "IssueOpening.h"
#include "ReaderTitle.h"

#include <QFileInfo>

namespace Module1 {

void ApriArchivio(const QString& archivePath, const QString& title) {
    IssueOpening::start(archivePath, title);
}

bool ApriArchivioScelto(const QString& archivePath, const std::optional<ArticleTarget>& target) {
    const std::optional<QString> name = ReaderTitle::nomeGiornale(archivePath);
    if (!name)
        return false;
    IssueOpening::start(archivePath, ReaderTitle::fromBaseName(*name), target);
    return true;
}

} // namespace Module1
