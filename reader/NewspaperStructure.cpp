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

Outcome<QList<Section>> scanFileNames(const QStringList& fileNames) {
    QList<Section> sections;
    for (const QString& name : fileNames) {
        if (!isSectionIndex(name))
            continue;
        const auto shown = shownName(name);
        if (!shown) // one name that cannot be cut abandons the whole scan
            return Failure{QStringLiteral("il nome «%1» non indica una sezione").arg(name)};
        sections.append({*shown, name});
    }
    return sections;
}

Outcome<QList<Section>> RilevaStruttura(const QString& folder) {
    try {
        return scanFileNames(Folders::fileNames(folder));
    } catch (const FileError& error) {
        return Failure{error.message()};
    }
}

QString sectionIndexPath(const QString& folder, const QString& indexFile) {
    return folder + QDir::separator() + indexFile;
}

QString articlePath(const QString& folder, const QString& sectionName, const QString& contentsLine) {
    return folder + QDir::separator() + sectionName + QLatin1Char('-') + contentsLine.left(3) + QStringLiteral(".txt");
}

Outcome<QStringList> CaricaSommario(const QString& indexPath) {
    try {
        return TextFile::readLines(indexPath);
    } catch (const FileError& error) {
        return Failure{error.message()};
    }
}

Outcome<QString> CaricaArticolo(const QString& articlePath) {
    try {
        return TextFile::readJoinedLines(articlePath);
    } catch (const FileError& error) {
        return Failure{error.message()};
    }
}

} // namespace NewspaperStructure
