#include "Catalogue.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

Catalogue::Catalogue(const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^(.+?)(\\d{8})(.*)\\.zip$"));
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.zip")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = name.match(file);
        if (match.hasMatch())
            m_issues.append({match.captured(1), match.captured(2), match.captured(3), dir.filePath(file)});
    }
}

QStringList Catalogue::mastheads() const {
    QStringList result;
    for (const Issue& issue : m_issues)
        result << issue.masthead;
    result.removeDuplicates();
    result.sort();
    return result;
}

QStringList Catalogue::dates(const QString& masthead) const {
    QStringList result;
    for (const Issue& issue : m_issues) {
        if (issue.masthead == masthead)
            result << issue.date;
    }
    result.removeDuplicates();
    result.sort();
    return result;
}

QStringList Catalogue::editions(const QString& masthead, const QString& date) const {
    QStringList result;
    for (const Issue& issue : m_issues) {
        if (issue.masthead == masthead && issue.date == date && !issue.edition.isEmpty())
            result << issue.edition;
    }
    result.sort();
    return result;
}

QString Catalogue::archive(const QString& masthead, const QString& date, const QString& edition) const {
    const auto found = std::find_if(m_issues.begin(), m_issues.end(), [&](const Issue& issue) {
        return issue.masthead == masthead && issue.date == date && issue.edition == edition;
    });
    return found == m_issues.end() ? QString() : found->path;
}
