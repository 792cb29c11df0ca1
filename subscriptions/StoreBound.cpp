#include "StoreBound.h"

#include "service/ArchiveFileName.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace {

QString safeName(const QString& text) {
    return archiveFileName(text).chopped(4); // without ".zip"
}

} // namespace

namespace StoreBound {

Outcome<QStringList> keepNewest(const QString& store, const Subscription& subscription, int keep,
                                const QString& openArchive) {
    if (keep <= 0)
        return QStringList();
    const QRegularExpression own(QStringLiteral("^%1(\\d{8})%2\\.zip$")
                                     .arg(QRegularExpression::escape(safeName(subscription.masthead)),
                                          QRegularExpression::escape(safeName(subscription.edition))));
    QList<std::pair<QString, QString>> issues; // date, file
    for (const QString& file : QDir(store).entryList({QStringLiteral("*.zip")}, QDir::Files)) {
        const QRegularExpressionMatch match = own.match(file);
        if (match.hasMatch() && QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd")).isValid())
            issues.append({match.captured(1), file});
    }
    std::sort(issues.begin(), issues.end(), std::greater<>());
    QStringList deleted, failed;
    for (qsizetype i = keep; i < issues.size(); ++i) {
        const QString& file = issues.at(i).second;
        if (file == openArchive)
            continue;
        QFile archive(QDir(store).filePath(file));
        if (archive.remove())
            deleted << file;
        else
            failed << QStringLiteral("«%1» (%2)").arg(file, archive.errorString());
    }
    if (!failed.isEmpty())
        return Failure{QStringLiteral("non si sono potuti eliminare %1").arg(failed.join(QStringLiteral(", ")))};
    return deleted;
}

} // namespace StoreBound
