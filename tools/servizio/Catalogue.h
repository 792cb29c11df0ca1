#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The issues one profile may fetch: the ZIP archives of a folder, named masthead, yyyymmdd, provincial edition
// (empty for an issue without editions), ".zip", as lettore-giornali-genera-giornale writes them.
class Catalogue {
public:
    explicit Catalogue(const QString& folder);

    QStringList mastheads() const;
    QStringList dates(const QString& masthead) const;
    QStringList editions(const QString& masthead, const QString& date) const; // without the empty edition
    // The archive's path, or empty when there is none.
    QString archive(const QString& masthead, const QString& date, const QString& edition) const;

private:
    struct Issue {
        QString masthead, date, edition, path;
    };
    QList<Issue> m_issues;
};
