#include "ArchiveLibrary.h"

#include "ReaderTitle.h"
#include "platform/FailureReason.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace ArchiveLibrary {

QDate issueDate(const QString& baseName) {
    // A masthead without digits that does not end in a space, the date, an edition that starts with a non-digit.
    static const QRegularExpression pattern(QStringLiteral("^\\D*[^\\d\\s](\\d{8})(?:\\D.*)?$"));
    const QRegularExpressionMatch match = pattern.match(baseName);
    return match.hasMatch() ? QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd")) : QDate();
}

Outcome<QList<StoredIssue>> list(const QString& storeFolder) {
    QList<StoredIssue> issues;
    const QFileInfo store(storeFolder);
    if (!store.exists())
        return issues;
    if (!store.isDir() || !store.isReadable())
        return Failure{
            QStringLiteral("la cartella «%1» non si può leggere").arg(QDir::toNativeSeparators(storeFolder))};
    const QDir folder(storeFolder);
    for (const QString& name : folder.entryList({QStringLiteral("*.zip")}, QDir::Files)) {
        const QString baseName = name.chopped(4);
        const QDate date = issueDate(baseName);
        issues.append(
            {folder.filePath(name), baseName, date.isValid() ? ReaderTitle::fromBaseName(baseName) : baseName, date});
    }
    std::stable_sort(issues.begin(), issues.end(), [](const StoredIssue& a, const StoredIssue& b) {
        if (a.date.isValid() != b.date.isValid())
            return a.date.isValid();
        if (a.date != b.date)
            return a.date > b.date;
        return a.title.localeAwareCompare(b.title) < 0;
    });
    return issues;
}

Outcome<> remove(const StoredIssue& issue) {
    if (!issue.date.isValid())
        return Failure{QStringLiteral("«%1» non è un giornale scaricato dal programma").arg(issue.baseName)};
    QFile file(issue.path);
    if (!file.remove()) {
        const int code = lastSystemError();
        return Failure{QStringLiteral("«%1» non si può eliminare: %2").arg(issue.title, failureReason(file, code))};
    }
    return Success();
}

QStringList removeAll(const QList<StoredIssue>& issues, const std::atomic_bool& stop) {
    QStringList failures;
    for (const StoredIssue& issue : issues) {
        if (stop)
            break;
        if (const Outcome<> removed = remove(issue); !removed)
            failures << removed.reason();
    }
    return failures;
}

QList<StoredIssue> olderThan(const QList<StoredIssue>& issues, int days, const QDate& today) {
    QList<StoredIssue> old;
    const QDate limit = today.addDays(-days);
    for (const StoredIssue& issue : issues) {
        if (issue.date.isValid() && issue.date < limit)
            old.append(issue);
    }
    return old;
}

} // namespace ArchiveLibrary
