#include "NewspaperStructure.h"

#include "platform/FileError.h"
#include "platform/Folders.h"
#include "platform/TextFile.h"

#include <QDir>
#include <optional>

namespace {

constexpr qsizetype kMarkedTail = 7; // "000" and the four-character extension

// The shown name of an index file, or nothing when the name cannot be cut: the part before the separator
// without its prefix (everything up to and including its first "-"), or all of it when it holds no "-".
std::optional<QString> shownName(const QString& indexFile) {
    if (indexFile.size() < kMarkedTail)
        return std::nullopt;
    const QString base = indexFile.left(indexFile.size() - kMarkedTail);
    const qsizetype dash = base.indexOf(QLatin1Char('-')); // -1 when none
    const qsizetype length = base.size() - (dash + 1) - 1; // without the prefix and the separator
    if (length < 0)
        return std::nullopt;
    return base.mid(dash + 1, length);
}

} // namespace

namespace NewspaperStructure {

bool isSectionIndex(const QString& fileName) {
    return QStringView(fileName).right(kMarkedTail).left(3) == QLatin1String("000");
}

Scan scanFileNames(const QStringList& fileNames) {
    Scan scan;
    for (const QString& name : fileNames) {
        if (!isSectionIndex(name))
            continue;
        const auto shown = shownName(name);
        if (!shown)
            return {Scan::Outcome::Failed, {}}; // one name that cannot be cut abandons the whole scan
        scan.sections.append({*shown, name});
    }
    scan.outcome = scan.sections.isEmpty() ? Scan::Outcome::NoNewspaper : Scan::Outcome::Sections;
    return scan;
}

Scan RilevaStruttura(const QString& folder) {
    try {
        return scanFileNames(Folders::fileNames(folder));
    } catch (const FileError&) {
        return {Scan::Outcome::Failed, {}};
    }
}

QString sectionIndexPath(const QString& folder, const QString& indexFile) {
    return folder + QDir::separator() + indexFile;
}

QString articlePath(const QString& folder, const QString& sectionName, const QString& contentsLine) {
    return folder + QDir::separator() + sectionName + QLatin1Char('-') + contentsLine.left(3) + QStringLiteral(".txt");
}

QStringList CaricaSommario(const QString& indexPath) {
    return TextFile::readLines(indexPath);
}

QString CaricaArticolo(const QString& articlePath) {
    return TextFile::readJoinedLines(articlePath);
}

} // namespace NewspaperStructure
