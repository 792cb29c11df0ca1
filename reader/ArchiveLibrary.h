#pragma once

#include "platform/Outcome.h"

#include <QDate>
#include <QList>
#include <QString>
#include <atomic>

// The archives stored in "Giornali", known by their file names alone (no archive is opened): the newest issue
// first, each with the title the reader would give it.
namespace ArchiveLibrary {

struct StoredIssue {
    QString path;
    QString baseName;
    QString title;
    QDate date; // invalid for a name the program does not recognise
};

// A name the program recognises: a masthead without digits, not ending in a space, a valid yyyymmdd date, an
// optional provincial edition that does not start with a digit, ".zip". Only such archives are ever deleted.
QDate issueDate(const QString& baseName);

// Newest date first; names without a date last, in name order. A store not made yet holds nothing; one that
// cannot be read fails.
Outcome<QList<StoredIssue>> list(const QString& storeFolder);

// Deletes a recognised archive of the store; anything else is refused, and a failure says why.
Outcome<> remove(const StoredIssue& issue);

// Deletes each, up to a stop asked from another thread; the reasons of those that could not be deleted.
QStringList removeAll(const QList<StoredIssue>& issues, const std::atomic_bool& stop);

// The recognised archives dated before the day that many days before today.
QList<StoredIssue> olderThan(const QList<StoredIssue>& issues, int days, const QDate& today = QDate::currentDate());

} // namespace ArchiveLibrary
